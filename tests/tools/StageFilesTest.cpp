#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <jpeglib.h>

#include "LwobTestReader.h"
#include "ShowTimeline.h"
#include "support/ShowTimingFile.h"
#include "TestFiles.h"
#include "core/Bitmap.h"
#include "demo/Demo.h"
#include "demo/DemoPart.h"
#include "parts/Timeline.h"

// The stage folder the build lays out with assetgen: every file the parts open, at the
// size the parts load it.

namespace {

const std::string kStage = TEST_STAGE_DIR;

bool endsWith(const std::string& path, const char* ending) {
    const size_t n = std::strlen(ending);
    return path.size() >= n && path.compare(path.size() - n, n, ending) == 0;
}

// The data files of every part's row, each once, and the runner's font sheet.
std::vector<show::DataFile> stageFiles() {
    std::vector<show::DataFile> files{{"data/gurkan2.pcx", 320, 200}};
    for (const show::Part& part : show::kParts)
        for (const show::DataFile& file : part.files) {
            bool known = false;
            for (const show::DataFile& seen : files) known |= std::string(seen.path) == file.path;
            if (!known) files.push_back(file);
        }
    return files;
}

std::string lowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

DecodedPcx stagePcx(const char* path) { return decodePcxForTest(readFileBytes(kStage + "/" + path)); }

struct JpegInfo {
    bool ok = false;
    int width = 0, height = 0, components = 0;
    std::vector<uint8_t> rgb;
};

JpegInfo decodeJpeg(const std::string& path) {
    JpegInfo info;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return info;
    jpeg_decompress_struct d;
    jpeg_error_mgr errors;
    d.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&d);
    jpeg_stdio_src(&d, f);
    if (jpeg_read_header(&d, TRUE) == JPEG_HEADER_OK) {
        jpeg_start_decompress(&d);
        info.width = int(d.output_width), info.height = int(d.output_height);
        info.components = d.output_components;
        info.rgb.resize(size_t(info.width) * info.height * info.components);
        while (d.output_scanline < d.output_height) {
            JSAMPROW row = &info.rgb[size_t(d.output_scanline) * info.width * info.components];
            jpeg_read_scanlines(&d, &row, 1);
        }
        jpeg_finish_decompress(&d);
        info.ok = true;
    }
    jpeg_destroy_decompress(&d);
    std::fclose(f);
    return info;
}

// How much the wrap-around seam stands out: the mean difference between the last and the
// first column (row) over the largest mean difference between neighbouring columns (rows)
// inside the picture. Patterns whose panel lines fall on the edge score about 1; a
// picture that does not tile scores far higher.
double seamRatio(const DecodedPcx& p, bool acrossColumns) {
    const int w = p.headerWidth, h = p.headerHeight;
    auto px = [&](int along, int across, int c) {
        int x = acrossColumns ? along : across, y = acrossColumns ? across : along;
        return double(p.rgb[(size_t(y) * w + x) * 3 + c]);
    };
    const int alongCount = acrossColumns ? w : h, acrossCount = acrossColumns ? h : w;
    auto meanStep = [&](int a, int b) {
        double sum = 0;
        for (int i = 0; i < acrossCount; ++i)
            for (int c = 0; c < 3; ++c) sum += std::fabs(px(a, i, c) - px(b, i, c));
        return sum / acrossCount;
    };
    double inside = 0;
    for (int a = 0; a + 1 < alongCount; ++a) inside = std::max(inside, meanStep(a, a + 1));
    return meanStep(alongCount - 1, 0) / (inside + 1.0);
}

// MPEG-1 Layer III frames: count them and check the format.
struct Mp3Walk {
    int frames = 0;
    bool allStereo44100 = true;
};

Mp3Walk walkMp3(const std::vector<uint8_t>& f) {
    static const int kBitrates[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
    Mp3Walk walk;
    size_t at = 0;
    if (f.size() > 10 && f[0] == 'I' && f[1] == 'D' && f[2] == '3')
        at = 10 + (size_t(f[6]) << 21 | size_t(f[7]) << 14 | size_t(f[8]) << 7 | f[9]);
    while (at + 4 <= f.size()) {
        if (f[at] != 0xFF || (f[at + 1] & 0xFE) != 0xFA) break;   // MPEG-1 Layer III sync
        int bitrate = kBitrates[f[at + 2] >> 4];
        int rateIndex = (f[at + 2] >> 2) & 3, padding = (f[at + 2] >> 1) & 1;
        if (bitrate == 0 || rateIndex != 0) {
            walk.allStereo44100 = false;
            break;
        }
        if ((f[at + 3] >> 6) == 3) walk.allStereo44100 = false;   // mono
        at += size_t(144000 * bitrate / 44100 + padding);
        ++walk.frames;
    }
    if (at != f.size()) walk.allStereo44100 = false;
    return walk;
}

}  // namespace

TEST(Stage, EveryPcxPictureDecodesToItsPartSize) {
    for (const show::DataFile& p : stageFiles()) {
        if (!endsWith(p.path, ".pcx")) continue;
        SCOPED_TRACE(p.path);
        std::vector<uint8_t> file = readFileBytes(kStage + "/" + p.path);
        ASSERT_FALSE(file.empty()) << "missing";
        DecodedPcx d = decodePcxForTest(file);
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.headerWidth, p.width);
        EXPECT_EQ(d.headerHeight, p.height);
        EXPECT_EQ(d.planes, 3);
        EXPECT_EQ(d.bytesPerLine, p.width);
        EXPECT_EQ(d.consumed, file.size());
    }
}

TEST(Stage, JpegPicturesAreColourAtTheirPartSize) {
    for (const show::DataFile& p : stageFiles()) {
        if (!endsWith(p.path, ".jpg")) continue;
        SCOPED_TRACE(p.path);
        JpegInfo j = decodeJpeg(kStage + "/" + p.path);
        ASSERT_TRUE(j.ok);
        EXPECT_EQ(j.width, p.width);
        EXPECT_EQ(j.height, p.height);
        EXPECT_EQ(j.components, 3);
    }
    // The bump heights live in the blue channel and must actually vary.
    JpegInfo bump = decodeJpeg(kStage + "/data/kebab/bump.jpg");
    ASSERT_TRUE(bump.ok);
    int lo = 255, hi = 0;
    for (size_t i = 2; i < bump.rgb.size(); i += 3) lo = std::min<int>(lo, bump.rgb[i]), hi = std::max<int>(hi, bump.rgb[i]);
    EXPECT_GT(hi - lo, 100);
}

TEST(Stage, WrappedTexturesHaveNoSeam) {
    for (const char* name : {"data/fetdel/bilden.pcx", "data/fetdel/bilden2.pcx", "data/Creds/tunnel1.pcx"}) {
        SCOPED_TRACE(name);
        DecodedPcx d = stagePcx(name);
        ASSERT_TRUE(d.ok);
        EXPECT_LT(seamRatio(d, true), 1.25);
        EXPECT_LT(seamRatio(d, false), 1.25);
    }
}

TEST(Stage, FontSheetHasGlyphsFromCode32AndBlankCellsAround) {
    DecodedPcx d = stagePcx("data/gurkan2.pcx");
    ASSERT_TRUE(d.ok);
    auto inkIn = [&](int code) {
        int n = code - 31, left = (n * 8) % 320, top = (n * 8 / 320) * 8, ink = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                size_t i = (size_t(top + y) * 320 + left + x) * 3;
                ink += d.rgb[i] + d.rgb[i + 1] + d.rgb[i + 2];
            }
        return ink;
    };
    EXPECT_EQ(inkIn(31), 0);
    EXPECT_EQ(inkIn(32), 0);   // space
    for (int code : {'!', '0', 'A', 'Z', 'a', 'z', '~'}) EXPECT_GT(inkIn(code), 1000) << char(code);
}

TEST(Stage, KebabObjectIsATexturedTriangleMesh) {
    std::vector<uint8_t> file = readFileBytes(kStage + "/data/kebab/kebab2.lwo");
    ASSERT_GT(file.size(), 12u);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "FORM");
    EXPECT_EQ(be32(&file[4]), file.size() - 8);
    EXPECT_EQ(std::string(file.begin() + 8, file.begin() + 12), "LWOB");
    std::vector<IffChunk> chunks = lwobChunks(file);
    ASSERT_GE(chunks.size(), 4u);
    size_t pointCount = parsePnts(chunks[0].data).size();
    size_t surfaces = 0;
    bool textured = false;
    for (const IffChunk& c : chunks)
        if (c.id == "SURF") {
            ++surfaces;
            for (const SubChunk& s : parseSurf(c.data).subChunks)
                if (s.id == "TIMG") textured |= std::string(reinterpret_cast<const char*>(s.data.data())) == "data/kebab/kebabtxt.pxc";
        }
    EXPECT_TRUE(textured);
    std::vector<ParsedPolygon> polys;
    for (const IffChunk& c : chunks)
        if (c.id == "POLS") polys = parsePols(c.data);
    ASSERT_FALSE(polys.empty());
    for (const ParsedPolygon& p : polys) {
        ASSERT_EQ(p.indices.size(), 3u);
        for (uint16_t i : p.indices) ASSERT_LT(i, pointCount);
        ASSERT_GE(p.surface, 1);
        ASSERT_LE(p.surface, surfaces);
    }
}

TEST(Stage, MusicIsAbout182SecondsOfStereoMp3) {
    Mp3Walk walk = walkMp3(readFileBytes(kStage + "/data/musik.mp3"));
    EXPECT_TRUE(walk.allStereo44100);
    double seconds = walk.frames * 1152.0 / 44100.0;
    EXPECT_GT(seconds, 181.0);
    EXPECT_LT(seconds, 183.5);
}

// The part windows of the show's timing: from each part's start to the next one's (the last
// to the end of the music).
std::pair<double, double> windowOf(int part) {
    return {sourceTiming().partStart(part),
            part + 1 < show::kPartCount ? sourceTiming().partStart(part + 1) : show::kLengthSeconds};
}

// The stage's script is the source tree's, byte for byte; its changes start every part, on
// bar lines, and its flashes lie on beats inside flashing parts, over before the next part.
TEST(Stage, SyncScriptIsTheShowsAndItsFlashesFitTheParts) {
    EXPECT_EQ(readFileBytes(kStage + "/synkTest.snc"), readFileBytes(std::string(TEST_SOURCE_DIR) + "/show/synkTest.snc"));
    const show::Timing& timing = sourceTiming();
    ASSERT_EQ(timing.changes.size(), static_cast<size_t>(show::kPartCount - 1));
    for (double start : timing.changes) EXPECT_EQ(std::fmod(start, show::kSecondsPerBar), 0.0) << start;
    ASSERT_FALSE(timing.cues.empty());
    for (const show::Cue& cue : timing.cues) {
        EXPECT_EQ(cue.name, "POWPOW");
        EXPECT_EQ(cue.bytes % (show::kBytesPerSecond / 2), 0) << "on a beat";
        EXPECT_LT(cue.seconds(), show::kLengthSeconds);
    }
    size_t flashes = 0;
    for (int part = 0; part < show::kPartCount; ++part)
        for (double at : timing.flashesOf(part)) {
            ++flashes;
            EXPECT_GT(at, windowOf(part).first) << "part " << part;
            EXPECT_LE(at + 1.0, windowOf(part).second) << "flash at " << at << " s outlasts part " << part;
        }
    EXPECT_EQ(flashes, timing.cues.size());
}

// The three strips parts share one flash state (local time of the last flash): a flash in
// one strips part must not keep the next one under the flash picture.
TEST(Stage, SharedStripsFlashLeavesMostOfEachStripsPartVisible) {
    const std::vector<show::Cue>& cues = sourceTiming().cues;
    std::vector<std::pair<double, double>> strips;
    for (int part = 0; part < show::kPartCount; ++part)
        if (std::string(show::kParts[part].className) == "GrymtPart") strips.push_back(windowOf(part));
    ASSERT_EQ(strips.size(), 3u);
    bool active = false;
    double powLocal = 0;
    size_t next = 0;
    for (const auto& [start, end] : strips) {
        int frames = 0, flashed = 0;
        for (double t = start; t < end; t += 0.01, ++frames) {
            while (next < cues.size() && cues[next].seconds() <= t) {
                const double at = cues[next].seconds();
                if (at > start && at < end) {
                    active = true;
                    powLocal = at - start;
                }
                ++next;
            }
            if (active && (t - start) - powLocal < 1.0) ++flashed;
        }
        EXPECT_LT(flashed, frames / 2) << "strips part from " << start << " s";
    }
}

TEST(Stage, AddedPicturesFadeToBlackAtTheirEdges) {
    // These are added onto what lies below them; a lit edge would show the picture's box.
    for (const char* name : {"data/Creds/code.pcx", "data/Creds/grafik.pcx", "data/Creds/musik.pcx",
                             "data/Creds/plomek.pcx", "data/Greets/namn1.pcx", "data/Greets/namn2.pcx",
                             "data/Greets/namn3.pcx", "data/Greets/namn4.pcx", "data/Greets/namn5.pcx",
                             "data/Huset/jag.pcx", "data/Huset/pil.pcx"}) {
        SCOPED_TRACE(name);
        DecodedPcx d = stagePcx(name);
        ASSERT_TRUE(d.ok);
        const int w = d.headerWidth, h = d.headerHeight;
        int brightest = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (x == 0 || y == 0 || x == w - 1 || y == h - 1)
                    for (int c = 0; c < 3; ++c) brightest = std::max<int>(brightest, d.rgb[(size_t(y) * w + x) * 3 + c]);
        EXPECT_LE(brightest, 8);
    }
}

TEST(Stage, EndScrollerEdgesMatchTheScrollerBackground) {
    DecodedPcx d = stagePcx("data/Slut/slut.pcx");
    ASSERT_TRUE(d.ok);
    for (int y : {0, 1535})
        for (int x = 0; x < 512; ++x) {
            const uint8_t* p = &d.rgb[(size_t(y) * 512 + x) * 3];
            ASSERT_EQ(uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2], 0x4A525Au) << "row " << y << " column " << x;
        }
}

// Every part the timeline makes loads, in its init, the pictures of its row in their order,
// from the stage (the image factory names each on standard output).
TEST(Stage, EveryPartLoadsThePicturesOfItsRow) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(kStage);
    // Parts keep what they load for the run; reachable from here, like the demo's.
    static Bitmap* frame = new Bitmap(512, 384);
    static Demo* demo = [] {
        Demo* made = new Demo(512, 384, 32, 0, nullptr);
        addTimeline(made);
        return made;
    }();
    ASSERT_EQ(demo->partCount, show::kPartCount);
    for (int32_t i = 0; i < demo->partCount; ++i) {
        SCOPED_TRACE(show::kParts[i].className);
        testing::internal::CaptureStdout();
        demo->parts[i]->init(frame, nullptr);
        std::istringstream printed(testing::internal::GetCapturedStdout());
        std::vector<std::string> loaded, expected;
        const std::string prefix = "trying to load ";
        for (std::string line; std::getline(printed, line);)
            if (line.rfind(prefix, 0) == 0) loaded.push_back(lowerCase(line.substr(prefix.size(), line.find(" with loader") - prefix.size())));
        for (const show::DataFile& file : show::kParts[i].files)
            if (file.width > 0) expected.push_back(lowerCase(file.path));
        EXPECT_EQ(loaded, expected);
    }
    std::filesystem::current_path(previous);
}
