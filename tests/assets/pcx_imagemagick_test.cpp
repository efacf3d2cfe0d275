// PCX pictures written by an independent encoder (ImageMagick) decode pixel for pixel.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "assets/ImageFactory.h"
#include "assets/PcxDecoder.h"
#include "core/Bitmap.h"
#include "image_test_support.h"

namespace {

// Random pixels biased to runs and to bytes of 0xC0 and above, which the encoder escapes.
std::vector<uint8_t> runnyPixels(int width, int height, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<uint8_t> rgb;
    uint8_t r = 0, g = 0, b = 0;
    for (int i = 0; i < width * height; ++i) {
        if (random() % 4 != 0) {
            auto pick = [&]() -> uint8_t {
                switch (random() % 4) {
                    case 0: return 0x00;
                    case 1: return uint8_t(0xC0 + random() % 64);
                    default: return uint8_t(random());
                }
            };
            r = pick();
            g = pick();
            b = pick();
        }
        rgb.insert(rgb.end(), {r, g, b});
    }
    return rgb;
}

struct PcxHeader {
    int bitsPerPixel;
    int planes;
    int bytesPerLine;
    int encoding;
};

PcxHeader readHeader(const std::vector<uint8_t>& file) {
    return {file[3], file[65], file[66] | file[67] << 8, file[2]};
}

class ImageMagickPcx : public testing::Test {
protected:
    void SetUp() override {
        if (!imagetest::imageMagickAvailable()) GTEST_SKIP() << "ImageMagick's convert is not installed";
    }
    TempDir dir;
};

TEST_F(ImageMagickPcx, RandomPicturesDecodeExactly) {
    // Odd widths included: this ImageMagick writes bytesPerLine equal to the width.
    const int sizes[][2] = {{1, 1}, {2, 3}, {7, 3}, {17, 5}, {64, 4}, {161, 9}, {320, 200}, {513, 2}};
    uint32_t seed = 1;
    for (const auto& size : sizes) {
        const int width = size[0], height = size[1];
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        std::vector<uint8_t> rgb = runnyPixels(width, height, seed++);
        std::string path = dir.file("random" + std::to_string(seed) + ".pcx");
        ASSERT_TRUE(imagetest::writePcxWithImageMagick(path, width, height, rgb));

        PcxHeader header = readHeader(readFileBytes(path));
        ASSERT_EQ(header.encoding, 1);
        ASSERT_EQ(header.bitsPerPixel, 8);
        ASSERT_EQ(header.planes, 3);
        if (header.bytesPerLine != width) {
            // The loader reads lines of exactly the picture's width; padded lines are not ours.
            ADD_FAILURE() << "encoder padded lines to " << header.bytesPerLine;
            continue;
        }

        std::vector<uint32_t> pixels(size_t(width) * size_t(height), 0xDEADBEEF);
        ASSERT_EQ(decodePcx(path.c_str(), width, height, pixels.data(), width, height, false), 0);
        for (size_t i = 0; i < pixels.size(); ++i) {
            uint32_t expected = uint32_t(rgb[3 * i]) << 16 | uint32_t(rgb[3 * i + 1]) << 8 | rgb[3 * i + 2];
            ASSERT_EQ(pixels[i], expected) << "pixel " << i;
        }
    }
}

TEST_F(ImageMagickPcx, FactoryLoadsThroughLoaderZero) {
    std::vector<uint8_t> rgb = runnyPixels(40, 30, 99);
    std::string path = dir.file("Picture.PcX");
    ASSERT_TRUE(imagetest::writePcxWithImageMagick(path, 40, 30, rgb));

    testing::internal::CaptureStdout();
    Bitmap* bitmap;
    {
        VEX_ImageFactory factory;
        bitmap = factory.load(path.c_str(), 40, 30, 20, 15, true, 1);
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "VEX_ImageFactory constructor gets called \ntrying to load " + path +
                  " with loader number 0. \n");
    ASSERT_EQ(bitmap->width, 20);
    ASSERT_EQ(bitmap->height, 15);
    // Halved by scaling: target (x, y) comes from source (2x, 2y).
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 20; ++x) {
            size_t i = size_t(2 * y) * 40 + size_t(2 * x);
            uint32_t expected = uint32_t(rgb[3 * i]) << 16 | uint32_t(rgb[3 * i + 1]) << 8 | rgb[3 * i + 2];
            ASSERT_EQ(bitmap->pixels[y * 20 + x], expected);
        }
    }
    testing::internal::CaptureStdout();
    delete bitmap;
    testing::internal::GetCapturedStdout();
}

}  // namespace
