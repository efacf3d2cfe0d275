#include <gtest/gtest.h>

#include <random>

#include "raster/PixelOperators.h"

namespace {

uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) { return (r << 16) | (g << 8) | b; }

TEST(PixelOperators, WorkedValues) {
    EXPECT_EQ(saturatingAdd(rgb(0xC0, 0x80, 0x40), rgb(0x80, 0x80, 0x80)), rgb(0xFF, 0xFF, 0xC0));
    // L = 128 of red d over blue s: 128 * 255 >> 8 = 127 red, 127 * 255 >> 8 = 126 blue.
    EXPECT_EQ(levelBlend(rgb(0xFF, 0, 0), rgb(0, 0, 0xFF), 128), rgb(0x7F, 0, 0x7E));
    EXPECT_EQ(levelBlend(0xFFFFFFFFu, 0, 0), 0u);
    EXPECT_EQ(levelBlend(0, 0xFFFFFFFFu, 0), 0xFEFEFEFEu);  // s scaled by 255/256
    EXPECT_EQ(halfBlend(rgb(0xFF, 0, 0xFF), 0), rgb(0x7F, 0, 0x7F));
    EXPECT_EQ(saturatingSubtract(rgb(0x40, 0xC0, 0x7F), 0x7F7F7Fu), rgb(0, 0x41, 0));
    // Bits 24-31 take part like the colour bytes.
    EXPECT_EQ(saturatingAdd(0xF0000000u, 0x20000000u), 0xFF000000u);
    EXPECT_EQ(modulate(0xFF804020u, 256, 128, 0), rgb(0x80, 0x20, 0));
}

// Every pair of byte values in every lane, against the plain versions.
TEST(PixelOperators, PackedVersionsMatchReferenceOnAllBytePairs) {
    for (uint32_t a = 0; a < 256; ++a) {
        for (uint32_t b = 0; b < 256; ++b) {
            const uint32_t d = a * 0x01010101u ^ 0x00FF0000u;
            const uint32_t s = b * 0x01010101u ^ 0x0000FF00u;
            ASSERT_EQ(saturatingAdd(d, s), saturatingAddReference(d, s)) << a << " " << b;
            ASSERT_EQ(saturatingSubtract(d, s), saturatingSubtractReference(d, s)) << a << " " << b;
        }
    }
}

// Seeded random pixels biased to 0x00 and 0xFF bytes, at every level.
TEST(PixelOperators, PackedLevelBlendMatchesReference) {
    std::mt19937 random(1234);
    auto byte = [&random]() -> uint32_t {
        const uint32_t pick = random() % 4;
        return pick == 0 ? 0u : pick == 1 ? 255u : random() & 255u;
    };
    auto pixel = [&byte]() { return byte() << 24 | byte() << 16 | byte() << 8 | byte(); };
    for (uint32_t level = 0; level < 256; ++level) {
        for (int i = 0; i < 2000; ++i) {
            const uint32_t d = pixel(), s = pixel();
            ASSERT_EQ(levelBlend(d, s, level), levelBlendReference(d, s, level)) << level << " " << d << " " << s;
        }
    }
}

}  // namespace
