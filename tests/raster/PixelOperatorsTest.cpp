#include <gtest/gtest.h>

#include "raster/PixelOperators.h"

namespace {

uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) { return (r << 16) | (g << 8) | b; }

// The values the fill operations rely on.
TEST(PixelOperators, WorkedValues) {
    EXPECT_EQ(saturatingAdd(rgb(0xC0, 0x80, 0x40), rgb(0x80, 0x80, 0x80)), rgb(0xFF, 0xFF, 0xC0));
    // L = 128 of red d over blue s: 128 * 255 >> 8 = 127 red, 127 * 255 >> 8 = 126 blue.
    EXPECT_EQ(levelBlend(rgb(0xFF, 0, 0), rgb(0, 0, 0xFF), 128), rgb(0x7F, 0, 0x7E));
    EXPECT_EQ(levelBlend(0, 0xFFFFFFFFu, 0), 0xFEFEFEFEu);  // s scaled by 255/256
    EXPECT_EQ(halfBlend(rgb(0xFF, 0, 0xFF), 0), rgb(0x7F, 0, 0x7F));
    EXPECT_EQ(saturatingSubtract(rgb(0x40, 0xC0, 0x7F), 0x7F7F7Fu), rgb(0, 0x41, 0));
    EXPECT_EQ(saturatingAdd(0xF0000000u, 0x20000000u), 0xFF000000u);  // bits 24-31 take part
}

TEST(PixelOperators, ModulateScalesColourBytesAndDropsTheTopByte) {
    EXPECT_EQ(modulate(0xFF804020u, 256, 128, 0), rgb(0x80, 0x20, 0));
    EXPECT_EQ(modulate(0x00FFFFFFu, 128, 64, 255), rgb(0x7F, 0x3F, 0xFE));
    EXPECT_EQ(modulate(0x00FFFFFFu, 0, 0, 0), 0u);
}

}  // namespace
