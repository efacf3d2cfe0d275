#include "core/Bitmap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "BlitModel.h"
#include "support/GuardedBuffer.h"

TEST(Bitmap, SizedConstructorClearsPixels) {
    Bitmap bitmap(13, 7);
    ASSERT_NE(bitmap.pixels, nullptr);
    EXPECT_EQ(bitmap.width, 13);
    EXPECT_EQ(bitmap.height, 7);
    for (int i = 0; i < 13 * 7; ++i) EXPECT_EQ(bitmap.pixels[i], 0u);
}

TEST(Bitmap, NonPositiveSizesMakeAnEmptyBitmapThatEveryOperationTolerates) {
    Bitmap frame(4, 4);
    for (auto [w, h] : {std::pair{0, 5}, {-3, 5}, {5, -1}, {-2, -2}}) {
        Bitmap empty(w, h);
        EXPECT_EQ(empty.pixels, nullptr);
        EXPECT_EQ(int64_t{empty.width} * empty.height, 0);
        empty.putPixel(0, 0, 1);
        empty.copyInto(&frame, 0, 0);
        empty.addInto(&frame, 0, 0);
        frame.copyInto(&empty, 0, 0);
        empty.scaleInto(&frame);
        frame.scaleInto(&empty);
        empty.blend(&frame, &frame, 100);
        empty.copyToMemory(nullptr);
    }
    for (int i = 0; i < 16; ++i) EXPECT_EQ(frame.pixels[i], 0u);
}

TEST(Bitmap, DestructorPrintsItsMessageWithOrWithoutPixels) {
    auto* sizeOnly = new Bitmap();
    sizeOnly->width = 512;
    sizeOnly->height = 384;
    auto* owning = new Bitmap(2, 2);
    testing::internal::CaptureStdout();
    delete sizeOnly;
    delete owning;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "deallocated internal Bitmap buffer \n"
                                                      "deallocated internal Bitmap buffer \n");
}

TEST(Bitmap, PutPixelIgnoresCoordinatesOutside) {
    GuardedBitmap bitmap(5, 3);
    std::fill(bitmap->pixels, bitmap->pixels + 15, 0u);
    const int32_t outside[][2] = {{5, 0}, {0, -1}, {-1, 0}, {0, 3}, {INT32_MAX, INT32_MAX}, {INT32_MIN, 1}};
    for (auto [x, y] : outside) bitmap->putPixel(x, y, 0xABCDEF);
    for (int i = 0; i < 15; ++i) EXPECT_EQ(bitmap->pixels[i], 0u);
    bitmap->putPixel(4, 2, 0x12345678);
    bitmap->putPixel(0, 0, 0x9);
    EXPECT_EQ(bitmap->pixels[14], 0x12345678u);
    EXPECT_EQ(bitmap->pixels[0], 0x9u);
}

TEST(Bitmap, BlendClampsAlphaAndScalesBy255Over256) {
    Bitmap a(3, 3), b(3, 3), out(3, 3);
    std::fill(a.pixels, a.pixels + 9, 0xFFFFFFFFu);
    std::fill(b.pixels, b.pixels + 9, 0x80402010u);
    out.blend(&a, &b, -5);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(out.pixels[i], 0x7F3F1F0Fu);
    out.blend(&a, &b, 300);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(out.pixels[i], 0xFEFEFEFEu);
    out.blend(&a, &a, 255);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(out.pixels[i], 0xFEFEFEFEu);
    // 128 * 255 + 127 * 0x80 = 48896, >> 8 = 191.
    std::fill(b.pixels, b.pixels + 9, 0x80808080u);
    out.blend(&a, &b, 128);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(out.pixels[i], 0xBFBFBFBFu);
}

TEST(Bitmap, BlendCoversOddSizesAndMayWriteOverASource) {
    PixelRandom random(3);
    GuardedBitmap a(13, 7), b(13, 7), out(13, 7, GuardSide::Before);
    random.fill(a->pixels, 91);
    random.fill(b->pixels, 91);
    out->blend(a.get(), b.get(), 200);
    for (int i = 0; i < 91; ++i) ASSERT_EQ(out->pixels[i], modelLevelBlend(a->pixels[i], b->pixels[i], 200)) << i;
    const auto expected = contents(*out);
    a->blend(a.get(), b.get(), 200);
    EXPECT_EQ(contents(*a), expected);
}

TEST(Bitmap, BlendNeverReadsPastASmallerSource) {
    GuardedBitmap small(4, 2), big(8, 4);
    std::fill(small->pixels, small->pixels + 8, 0xFFFFFFFFu);
    std::fill(big->pixels, big->pixels + 32, 0x11111111u);
    big->blend(small.get(), small.get(), 255);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(big->pixels[i], 0xFEFEFEFEu);
    for (int i = 8; i < 32; ++i) EXPECT_EQ(big->pixels[i], 0x11111111u);
}

TEST(Bitmap, ScaleUpRepeatsColumnsTwiceAndRowsByTruncatedFloatRatio) {
    Bitmap src(256, 256);
    for (int32_t y = 0; y < 256; ++y)
        for (int32_t x = 0; x < 256; ++x) src.pixels[x + y * 256] = static_cast<uint32_t>(y << 8 | x);
    GuardedBitmap dst(512, 384);
    src.scaleInto(dst.get());
    const float ry = 256.0f / 384.0f;
    EXPECT_EQ(ry, 0.6666667f);
    for (int32_t dy = 0; dy < 384; ++dy) {
        const auto sy = static_cast<uint32_t>(std::trunc(static_cast<float>(dy) * ry));
        for (int32_t dx = 0; dx < 512; ++dx) ASSERT_EQ(dst->pixels[dx + dy * 512], sy << 8 | static_cast<uint32_t>(dx / 2)) << dx << "," << dy;
    }
    // The ratio is a little above 2/3, so row 3 reads row 2 (not 1) and row 383 reads row 255.
    EXPECT_EQ(dst->pixels[3 * 512] >> 8, 2u);
    EXPECT_EQ(dst->pixels[383 * 512] >> 8, 255u);
    EXPECT_EQ(dst->pixels[2 * 512] >> 8, 1u);
}

TEST(Bitmap, ScaleDownPicksNearestLowerSourcePixel) {
    Bitmap src(7, 5);
    for (int i = 0; i < 35; ++i) src.pixels[i] = static_cast<uint32_t>(i);
    GuardedBitmap dst(3, 2, GuardSide::Before);
    src.scaleInto(dst.get());
    // rx = 7/3 = 2.3333333: columns 0, 2, 4; ry = 2.5: rows 0, 2.
    const uint32_t expected[] = {0, 2, 4, 14, 16, 18};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(dst->pixels[i], expected[i]) << i;
}

TEST(Bitmap, ScaleToWideDestinationCrossesColumnSlices) {
    Bitmap src(3, 1);
    src.pixels[0] = 10, src.pixels[1] = 20, src.pixels[2] = 30;
    GuardedBitmap dst(3000, 2);
    src.scaleInto(dst.get());
    const float rx = 3.0f / 3000.0f;
    for (int32_t dx = 0; dx < 3000; ++dx) {
        const uint32_t want = 10u * (1 + static_cast<uint32_t>(static_cast<float>(dx) * rx));
        ASSERT_EQ(dst->pixels[dx], want) << dx;
        ASSERT_EQ(dst->pixels[3000 + dx], want) << dx;
    }
}

TEST(Bitmap, CopyToMemoryWritesExactlyAllPixels) {
    PixelRandom random(5);
    Bitmap bitmap(13, 7);
    random.fill(bitmap.pixels, 91);
    for (GuardSide side : {GuardSide::After, GuardSide::Before}) {
        GuardedBuffer<uint32_t> memory(91, side);
        bitmap.copyToMemory(memory.data());
        EXPECT_TRUE(std::equal(bitmap.pixels, bitmap.pixels + 91, memory.data()));
    }
}

TEST(Bitmap, BlitOntoItselfAtTheOrigin) {
    Bitmap bitmap(5, 3);
    std::fill(bitmap.pixels, bitmap.pixels + 15, 0x80706050u);
    bitmap.copyInto(&bitmap, 0, 0);
    EXPECT_EQ(bitmap.pixels[14], 0x80706050u);
    bitmap.addInto(&bitmap, 0, 0);
    for (int i = 0; i < 15; ++i) EXPECT_EQ(bitmap.pixels[i], 0xFFE0C0A0u);
}
