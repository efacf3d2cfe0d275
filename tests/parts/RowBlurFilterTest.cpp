#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "TestBitmaps.h"
#include "parts/RowBlurFilter.h"
#include "parts/WindowDivider.h"

namespace {

std::vector<uint32_t> blurredRow(const std::vector<uint32_t>& row, int32_t strength) {
    Bitmap source(static_cast<int32_t>(row.size()), 1);
    std::copy(row.begin(), row.end(), source.pixels);
    Bitmap target(static_cast<int32_t>(row.size()), 1);
    RowBlurFilter filter(&source, strength);
    filter.apply(&target, 0.0f, 0);
    return std::vector<uint32_t>(target.pixels, target.pixels + row.size());
}

const std::vector<uint32_t> kWhiteRow(10, 0x00FFFFFF);

}  // namespace

TEST(RowBlurFilter, LeftToRightFadesInFromBlack) {
    auto row = blurredRow(kWhiteRow, 4);
    std::vector<uint32_t> expected = {0x003F3F3F, 0x007F7F7F, 0x00BFBFBF};
    expected.resize(10, 0x00FFFFFF);
    EXPECT_EQ(row, expected);
}

TEST(RowBlurFilter, RightToLeftFadesInFromTheRightEdge) {
    auto row = blurredRow(kWhiteRow, -4);
    std::vector<uint32_t> expected(7, 0x00FFFFFF);
    expected.insert(expected.end(), {0x00BFBFBF, 0x007F7F7F, 0x003F3F3F});
    EXPECT_EQ(row, expected);
}

TEST(RowBlurFilter, WindowAveragesEachChannelAndClearsTheTopByte) {
    std::vector<uint32_t> row = {0xFF030609, 0xFF090C0F, 0x80000000, 0x00FF0000};
    EXPECT_EQ(blurredRow(row, 2), (std::vector<uint32_t>{0x00010304, 0x0006090C, 0x00040607, 0x007F0000}));
    EXPECT_EQ(blurredRow(row, -2), (std::vector<uint32_t>{0x0006090C, 0x00040607, 0x007F0000, 0x007F0000}));
}

TEST(RowBlurFilter, StrengthOneCopiesWithoutTopByte) {
    std::vector<uint32_t> row = {0x00123456, 0x00ABCDEF, 0x00000001, 0x00FF00FF};
    EXPECT_EQ(blurredRow(row, 1), row);
    EXPECT_EQ(blurredRow(row, -1), row);
}

TEST(RowBlurFilter, StrengthZeroCopiesThePicture) {
    std::vector<uint32_t> row = {0xFF123456, 0x00ABCDEF, 0x80000001};
    EXPECT_EQ(blurredRow(row, 0), row);
    auto source = solidBitmap(2, 1, 0x00000080);
    auto target = solidBitmap(3, 2, 0x00FFFFFF);
    RowBlurFilter filter(source.get(), 0);
    filter.apply(target.get(), 0.0f, 0);
    EXPECT_EQ(pixelAt(*target, 1, 0), 0x00000080u);
    EXPECT_EQ(pixelAt(*target, 2, 0), 0u);  // outside the smaller source: black
    EXPECT_EQ(pixelAt(*target, 0, 1), 0u);
}

TEST(RowBlurFilter, WindowLongerThanTheRow) {
    auto row = blurredRow(std::vector<uint32_t>(3, 0x00FFFFFF), 30);
    EXPECT_EQ(row, (std::vector<uint32_t>{0x00080808, 0x00111111, 0x00191919}));
}

TEST(RowBlurFilter, ParametersIgnoreCase) {
    auto first = solidBitmap(4, 1, 0x00000010);
    auto second = solidBitmap(4, 1, 0x00000040);
    RowBlurFilter filter(first.get(), 20);
    int32_t strength = 1;
    filter.setParameter("source", second.get());
    filter.setParameter("Val", &strength);
    EXPECT_EQ(filter.source, second.get());
    EXPECT_EQ(filter.strength, 1);
    auto target = solidBitmap(4, 1, 0);
    filter.apply(target.get(), 0.0f, 0);
    EXPECT_EQ(pixelAt(*target, 3, 0), 0x00000040u);
}

// Pixels beyond a smaller source read as black instead of running off its buffer.
TEST(RowBlurFilter, SmallerSourceReadsBlackOutsideItself) {
    auto source = solidBitmap(2, 1, 0x00000080);
    auto target = solidBitmap(4, 2, 0x00FFFFFF);
    RowBlurFilter filter(source.get(), 2);
    filter.apply(target.get(), 0.0f, 0);
    EXPECT_EQ(pixelAt(*target, 0, 0), 0x00000040u);
    EXPECT_EQ(pixelAt(*target, 1, 0), 0x00000080u);
    EXPECT_EQ(pixelAt(*target, 2, 0), 0x00000040u);
    EXPECT_EQ(pixelAt(*target, 3, 0), 0x00000000u);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(pixelAt(*target, x, 1), 0u);
}

TEST(WindowDivider, ExactForEveryWindowSum) {
    for (uint32_t n = 1; n <= 300; ++n) {
        WindowDivider divide(n);
        for (uint32_t sum = 0; sum <= 255 * n; ++sum) ASSERT_EQ(divide(sum), sum / n) << sum << " / " << n;
    }
    // Longer windows at the top of their range, where the error would show first.
    for (uint32_t n : {1023u, 4096u, 4102u, 4103u, 4104u, 100000u, 0x80000000u}) {
        WindowDivider divide(n);
        uint64_t top = std::min<uint64_t>(255ull * n, UINT32_MAX);
        for (uint64_t sum = top - 200000; sum <= top; ++sum)
            ASSERT_EQ(divide(static_cast<uint32_t>(sum)), sum / n) << sum << " / " << n;
    }
}

// The running sums against a plain mean over each window, on random rows of random
// pictures, in both directions and with windows longer than the row.
TEST(RowBlurFilter, RunningSumsMatchWindowMeansOnRandomPictures) {
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        int32_t width = 1 + static_cast<int32_t>(random() % 120), height = 1 + static_cast<int32_t>(random() % 4);
        int32_t strength = static_cast<int32_t>(random() % 81) - 40;
        Bitmap source(width, height), target(width, height);
        for (int32_t i = 0; i < width * height; ++i) source.pixels[i] = biasedRandomPixel(random);
        RowBlurFilter filter(&source, strength);
        filter.apply(&target, 0.0f, 0);
        int32_t n = strength < 0 ? -strength : strength;
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x) {
                uint32_t expected = 0;
                if (n == 0) {
                    expected = pixelAt(source, x, y);
                } else {
                    for (int shift = 0; shift < 24; shift += 8) {
                        uint32_t sum = 0;
                        for (int32_t j = 0; j < n; ++j) {
                            int32_t k = strength > 0 ? x - j : x + j;
                            if (k >= 0 && k < width) sum += (pixelAt(source, k, y) >> shift) & 0xFF;
                        }
                        expected |= (sum / n) << shift;
                    }
                }
                ASSERT_EQ(pixelAt(target, x, y), expected) << "strength " << strength << " at " << x << ", " << y;
            }
    }
}
