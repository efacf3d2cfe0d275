#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "assets/FontSheet.h"
#include "assets/ImageFactory.h"
#include "core/Bitmap.h"
#include "TestFiles.h"

// The stage pictures loaded the way the parts load them: through the image factory, by
// the names the parts use, from the stage as the working directory.

namespace {

class InStage : public testing::Test {
protected:
    void SetUp() override {
        previous = std::filesystem::current_path();
        std::filesystem::current_path(TEST_STAGE_DIR);
    }
    void TearDown() override { std::filesystem::current_path(previous); }

    std::filesystem::path previous;
};

struct PartPicture {
    const char* name;   // as the part passes it
    const char* file;   // as assetgen wrote it
    int width, height;
};

// Names with the letter case and separators the parts use.
const PartPicture kPartPictures[] = {
    {"data/Forsta/titel.pcx", "data/Forsta/titel.pcx", 512, 384},
    {"data/Grymt/flow512100.pcx", "data/Grymt/flow512100.pcx", 512, 100},
    {"data/fetdel/bilden2.pcx", "data/fetdel/bilden2.pcx", 256, 256},
    {"data/creds/tunnel1.pcx", "data/Creds/tunnel1.pcx", 256, 256},
    {"data/Greets/namn5.pcx", "data/Greets/namn5.pcx", 100, 30},
    {"data/Slut/slut.pcx", "data/Slut/slut.pcx", 512, 1536},
};

}  // namespace

TEST_F(InStage, PcxPicturesLoadThroughTheFactoryAsWritten) {
    for (const PartPicture& p : kPartPictures) {
        SCOPED_TRACE(p.name);
        DecodedPcx expected = decodePcxForTest(readFileBytes(p.file));
        ASSERT_TRUE(expected.ok);
        testing::internal::CaptureStdout();
        std::unique_ptr<Bitmap> loaded;
        {
            VEX_ImageFactory factory;
            loaded.reset(factory.load(p.name, p.width, p.height, p.width, p.height, false, 1));
        }
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_NE(out.find(std::string("trying to load ") + p.name + " with loader number 0. \n"), std::string::npos);
        ASSERT_EQ(loaded->width, p.width);
        ASSERT_EQ(loaded->height, p.height);
        size_t mismatches = 0;
        for (size_t i = 0; i < size_t(p.width) * p.height; ++i) {
            uint32_t rgb = uint32_t(expected.rgb[3 * i]) << 16 | uint32_t(expected.rgb[3 * i + 1]) << 8 | expected.rgb[3 * i + 2];
            mismatches += loaded->pixels[i] != rgb;
        }
        EXPECT_EQ(mismatches, 0u);
        testing::internal::CaptureStdout();
        loaded.reset();
        testing::internal::GetCapturedStdout();
    }
}

TEST_F(InStage, KebabJpegsLoadThroughTheFactory) {
    for (const char* name : {"data/kebab/bump.jpg", "data/kebab/envmap.jpg"}) {
        SCOPED_TRACE(name);
        testing::internal::CaptureStdout();
        {
            Bitmap picture(256, 256);
            VEX_ImageFactory factory;
            factory.loadInto(&picture, name, 256, 256, true, 1);
            uint32_t lo = 0xFFFFFFFF, hi = 0;
            for (int i = 0; i < 256 * 256; ++i) {
                EXPECT_EQ(picture.pixels[i] >> 24, 0xFFu) << "pixel " << i;
                if (picture.pixels[i] >> 24 != 0xFF) break;
                lo = std::min(lo, picture.pixels[i] & 0xFF), hi = std::max(hi, picture.pixels[i] & 0xFF);
            }
            EXPECT_GT(hi - lo, 60u) << "a flat picture";
        }
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_NE(out.find(std::string("trying to load ") + name + " with loader number 1. \n"), std::string::npos);
    }
}

TEST_F(InStage, FontSheetCutsReadableGlyphs) {
    testing::internal::CaptureStdout();
    {
        FontSheet sheet;
        sheet.glyphSize = 8;
        sheet.firstCode = 31;
        sheet.loadSheet("data\\gurkan2.pcx");
        ASSERT_NE(sheet.glyphs, nullptr);
        auto ink = [&](int code) {
            int lit = 0;
            for (int i = 0; i < 64; ++i) lit += (sheet.glyphs[code * 64 + i] & 0xFFFFFF) != 0;
            return lit;
        };
        EXPECT_EQ(ink(' '), 0);
        for (int code : {'A', 'g', '7', '?'}) EXPECT_GE(ink(code), 6) << char(code);
        EXPECT_GT(ink('M'), ink('.'));
    }
    testing::internal::GetCapturedStdout();
}
