#include <gtest/gtest.h>

#include <stdexcept>

#include "PcxWriter.h"
#include "assets/PcxDecoder.h"
#include "Random.h"
#include "TestFiles.h"

namespace {

// Pixels biased towards the awkward values: runs, and bytes of 0xC0 and above that must
// never be written as bare literals.
std::vector<uint8_t> awkwardPixels(int w, int h, uint64_t seed) {
    Random rng(seed);
    std::vector<uint8_t> rgb(size_t(w) * h * 3);
    for (size_t i = 0; i < rgb.size(); ++i) {
        switch (rng.below(4)) {
            case 0: rgb[i] = uint8_t(rng.below(256)); break;
            case 1: rgb[i] = uint8_t(0xC0 + rng.below(64)); break;
            default: rgb[i] = i ? rgb[i - 1] : 0; break;   // continue a run
        }
    }
    return rgb;
}

}  // namespace

TEST(PcxWriter, RoundTripsSeededPictures) {
    for (uint64_t seed = 0; seed < 40; ++seed) {
        int w = 1 + int(seed * 7 % 37), h = 1 + int(seed % 9);
        std::vector<uint8_t> rgb = awkwardPixels(w, h, seed);
        std::vector<uint8_t> file = encodePcx(w, h, rgb);
        DecodedPcx d = decodePcxForTest(file);
        ASSERT_TRUE(d.ok) << "seed " << seed;
        EXPECT_EQ(d.consumed, file.size()) << "trailing bytes, seed " << seed;
        EXPECT_EQ(d.rgb, rgb) << "seed " << seed;
    }
}

TEST(PcxWriter, HeaderDescribesA24BitPlanarPicture) {
    std::vector<uint8_t> file = encodePcx(512, 3, std::vector<uint8_t>(512 * 3 * 3, 0x80));
    DecodedPcx d = decodePcxForTest(file);
    EXPECT_EQ(file[2], 1);   // run-length encoded
    EXPECT_EQ(file[3], 8);   // bits per plane
    EXPECT_EQ(d.headerWidth, 512);
    EXPECT_EQ(d.headerHeight, 3);
    EXPECT_EQ(d.planes, 3);
    EXPECT_EQ(d.bytesPerLine, 512);
}

TEST(PcxWriter, RunsStopAtLineEndsAndAt63) {
    // 100 equal bytes a plane line: runs of 63 and 37, per plane, per row.
    std::vector<uint8_t> file = encodePcx(100, 2, std::vector<uint8_t>(100 * 2 * 3, 0x10));
    ASSERT_EQ(file.size(), 128u + 2 * 3 * 4);
    EXPECT_EQ(file[128], 0xC0 | 63);
    EXPECT_EQ(file[129], 0x10);
    EXPECT_EQ(file[130], 0xC0 | 37);
    EXPECT_EQ(file[131], 0x10);
}

TEST(PcxWriter, LoneHighByteIsWrittenAsARunOfOne) {
    std::vector<uint8_t> rgb{0xC5, 0x01, 0xBF};
    std::vector<uint8_t> file = encodePcx(1, 1, rgb);
    std::vector<uint8_t> stream(file.begin() + 128, file.end());
    EXPECT_EQ(stream, (std::vector<uint8_t>{0xC1, 0xC5, 0x01, 0xBF}));
}

TEST(PcxWriter, RejectsPixelsThatDoNotMatchTheSize) {
    EXPECT_THROW(encodePcx(4, 4, std::vector<uint8_t>(10)), std::invalid_argument);
    EXPECT_THROW(encodePcx(0, 4, {}), std::invalid_argument);
}

TEST(PcxWriter, ProjectDecoderReadsWhatItWrites) {
    for (uint64_t seed = 100; seed < 120; ++seed) {
        int w = 2 + int(seed % 31), h = 1 + int(seed % 7);
        std::vector<uint8_t> rgb = awkwardPixels(w, h, seed);
        std::vector<uint8_t> file = encodePcx(w, h, rgb);
        std::vector<uint32_t> pixels(size_t(w) * h, 0xDEADBEEF);
        ASSERT_EQ(decodePcxFromMemory(file.data(), file.size(), w, h, pixels.data(), w, h, false), 0)
            << "seed " << seed;
        for (size_t i = 0; i < pixels.size(); ++i)
            ASSERT_EQ(pixels[i], uint32_t(rgb[3 * i]) << 16 | uint32_t(rgb[3 * i + 1]) << 8 | rgb[3 * i + 2])
                << "seed " << seed << " pixel " << i;
    }
}
