#include <gtest/gtest.h>

#include "BlitModel.h"
#include "support/GuardedBuffer.h"

namespace {
// Source pixels numbered by position, so a misplaced pixel shows where it came from.
void fillNumbered(Bitmap& bitmap, uint32_t base) {
    for (int32_t i = 0; i < bitmap.width * bitmap.height; ++i) bitmap.pixels[i] = base + static_cast<uint32_t>(i);
}
} // namespace

TEST(BitmapBlit, AddSaturatesEveryByteIncludingTheTopOne) {
    Bitmap src(3, 2), dst(3, 2);
    std::fill(src.pixels, src.pixels + 6, 0x01808080u);
    std::fill(dst.pixels, dst.pixels + 6, 0xFFA0A0A0u);
    src.addInto(&dst, 0, 0);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(dst.pixels[i], 0xFFFFFFFFu);

    std::fill(dst.pixels, dst.pixels + 6, 0x00A0A0A0u);
    std::fill(src.pixels, src.pixels + 6, 0x00808080u);
    src.addInto(&dst, 1, 1);
    EXPECT_EQ(dst.pixels[0], 0x00A0A0A0u);
    EXPECT_EQ(dst.pixels[4], 0x00FFFFFFu);
    EXPECT_EQ(dst.pixels[5], 0x00FFFFFFu);
}

TEST(BitmapBlit, LeftClipCopiesOnlyTheSourcesLastColumns) {
    GuardedBitmap src(20, 4), dst(30, 4);
    fillNumbered(*src, 1000);
    std::fill(dst->pixels, dst->pixels + 120, 0xDEADu);
    src->copyInto(dst.get(), -10, 0);
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 10; ++x) EXPECT_EQ(dst->pixels[x + y * 30], 1000u + (x + 10) + y * 20) << x << "," << y;
        for (int32_t x = 10; x < 30; ++x) EXPECT_EQ(dst->pixels[x + y * 30], 0xDEADu);
    }
}

TEST(BitmapBlit, RectanglesWhollyOutsideWriteNothing) {
    GuardedBitmap src(20, 10), dst(30, 12);
    fillNumbered(*src, 1);
    const auto before = contents(*dst);
    const int32_t outside[][2] = {{30, 0}, {-20, 0}, {0, 12}, {0, -10}, {INT32_MAX, 0}, {0, INT32_MIN}, {INT32_MIN, INT32_MIN}};
    for (auto [x, y] : outside) {
        src->copyInto(dst.get(), x, y);
        src->addInto(dst.get(), x, y);
        EXPECT_EQ(contents(*dst), before) << x << "," << y;
    }
}

// Partly outside on each side in turn, and on all four at once; odd and even widths;
// destinations flush against a guard page at either end.
class BitmapBlitPlacement : public testing::TestWithParam<std::tuple<BlitKind, GuardSide>> {};

TEST_P(BitmapBlitPlacement, ClipsOnEverySide) {
    const auto [kind, side] = GetParam();
    struct Case { int32_t srcW, srcH, dstW, dstH, x, y; };
    const Case cases[] = {
        {7, 5, 16, 12, -3, 4},  {7, 5, 16, 12, 12, 4},  {7, 5, 16, 12, 5, -2},  {7, 5, 16, 12, 5, 9},
        {20, 15, 16, 12, -2, -1}, {7, 5, 16, 12, 4, 3}, {8, 5, 16, 12, 4, 3},   {16, 12, 16, 12, 0, 0},
        {16, 20, 16, 12, 0, 0}, {16, 5, 16, 12, 0, 0},  {15, 12, 16, 12, 0, 0}, {1, 1, 1, 1, 0, 0},
        {16, 12, 16, 12, 0, 3}, {16, 12, 16, 12, -1, 0}, {3, 3, 5, 5, 2, 2},
    };
    for (const Case& c : cases) {
        GuardedBitmap src(c.srcW, c.srcH, side), dst(c.dstW, c.dstH, side);
        fillNumbered(*src, 0x01000000);
        fillNumbered(*dst, 0x00F0F000);
        const auto expected = modelBlit(*src, *dst, c.x, c.y, kind);
        blit(*src, *dst, c.x, c.y, kind);
        EXPECT_EQ(contents(*dst), expected) << c.srcW << "x" << c.srcH << " onto " << c.dstW << "x" << c.dstH << " at " << c.x << "," << c.y;
    }
}

// Seeded random placements: sizes 0..40, offsets from well outside to well past the far edge.
TEST_P(BitmapBlitPlacement, RandomPlacementsMatchTheModel) {
    const auto [kind, side] = GetParam();
    for (uint32_t seed = 0; seed < 3000; ++seed) {
        PixelRandom random(seed);
        const int32_t srcW = random.range(0, 40), srcH = random.range(0, 40);
        const int32_t dstW = random.chance(4) ? srcW : random.range(0, 40), dstH = random.range(0, 40);
        const bool origin = random.chance(4);
        const int32_t x = origin ? 0 : random.range(-45, 45), y = origin ? 0 : random.range(-45, 45);
        GuardedBitmap src(srcW, srcH, side), dst(dstW, dstH, side);
        random.fill(src->pixels, static_cast<size_t>(srcW * srcH));
        random.fill(dst->pixels, static_cast<size_t>(dstW * dstH));
        const auto expected = modelBlit(*src, *dst, x, y, kind);
        blit(*src, *dst, x, y, kind);
        ASSERT_EQ(contents(*dst), expected) << "seed " << seed << ": " << srcW << "x" << srcH << " onto " << dstW << "x" << dstH << " at " << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(CopyAndAdd, BitmapBlitPlacement,
                         testing::Combine(testing::Values(BlitKind::Copy, BlitKind::Add), testing::Values(GuardSide::After, GuardSide::Before)));
