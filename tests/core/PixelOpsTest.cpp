#include "core/PixelOps.h"

#include <gtest/gtest.h>

#include <vector>

#include "PixelRandom.h"
#include "support/GuardedBuffer.h"

TEST(PixelOps, SaturatingAddExamples) {
    EXPECT_EQ(saturatingAdd(0x00C08040, 0x00808080), 0x00FFFFC0u);
    EXPECT_EQ(saturatingAdd(0x00808080, 0x00A0A0A0), 0x00FFFFFFu);
    EXPECT_EQ(saturatingAdd(0x01000000, 0xFF000000), 0xFF000000u);
    EXPECT_EQ(saturatingAdd(0x7F7F7F7F, 0x01010101), 0x80808080u);
}

TEST(PixelOps, SaturatingSubtractOfGreyDarkens) {
    const uint32_t grey = 127 * 0x010101u;
    EXPECT_EQ(saturatingSubtract(0x00400000, grey) & 0xFF0000, 0u);
    EXPECT_EQ(saturatingSubtract(0x00C00000, grey) & 0xFF0000, 0x410000u);
    EXPECT_EQ(saturatingSubtract(0xFF102030, grey), 0xFF000000u);
}

TEST(PixelOps, LevelBlendExamples) {
    // Red over blue at level 128: 128 * 255 >> 8 = 127 and 127 * 255 >> 8 = 126.
    EXPECT_EQ(levelBlend(0x00FF0000, 0x000000FF, 128), 0x007F007Eu);
    // The ends scale by 255/256 instead of passing a pixel through.
    EXPECT_EQ(levelBlend(0xFFFFFFFF, 0, 255), 0xFEFEFEFEu);
    EXPECT_EQ(levelBlend(0, 0xFFFFFFFF, 0), 0xFEFEFEFEu);
}

TEST(PixelOps, HalfBlendDropsLowBitsBeforeAdding) {
    EXPECT_EQ(halfBlend(0x00FF00FF, 0), 0x007F007Fu);
    EXPECT_EQ(halfBlend(0x01010101, 0x01010101), 0u);
    EXPECT_EQ(halfBlend(0xFFFFFFFF, 0xFFFFFFFF), 0xFEFEFEFEu);
}

TEST(PixelOps, SingleOperatorsMatchByteModelsOnRandomPixels) {
    PixelRandom random(1);
    for (int i = 0; i < 200000; ++i) {
        const uint32_t a = random.pixel(), b = random.pixel();
        const int level = random.range(0, 255);
        ASSERT_EQ(saturatingAdd(a, b), modelAdd(a, b)) << std::hex << a << " " << b;
        ASSERT_EQ(saturatingSubtract(a, b), modelSubtract(a, b)) << std::hex << a << " " << b;
        ASSERT_EQ(levelBlend(a, b, level), modelLevelBlend(a, b, level)) << std::hex << a << " " << b << " " << level;
        ASSERT_EQ(halfBlend(a, b), perByte(a, b, [](int x, int y) { return x / 2 + y / 2; }));
    }
}

// The build's backend rows (SSE2, NEON or the generic ones) against the scalar rows, for
// every length 0..40 (heads, whole vectors and tails) and both ends of the output flush
// against a guard page.
class RowFastPath : public testing::TestWithParam<GuardSide> {};

TEST_P(RowFastPath, AddRowMatchesScalar) {
    for (uint32_t seed = 0; seed < 400; ++seed) {
        PixelRandom random(seed);
        const size_t count = static_cast<size_t>(random.range(0, 40));
        GuardedBuffer<uint32_t> fast(count, GetParam()), src(count, GetParam());
        std::vector<uint32_t> reference(count);
        random.fill(fast.data(), count);
        random.fill(src.data(), count);
        std::copy(fast.data(), fast.data() + count, reference.begin());
        addRow(fast.data(), src.data(), count);
        addRowScalar(reference.data(), src.data(), count);
        for (size_t i = 0; i < count; ++i) ASSERT_EQ(fast[i], reference[i]) << "seed " << seed << " pixel " << i;
    }
}

TEST_P(RowFastPath, BlendRowMatchesScalar) {
    for (uint32_t seed = 0; seed < 400; ++seed) {
        PixelRandom random(seed);
        const size_t count = static_cast<size_t>(random.range(0, 40));
        const uint32_t alpha = random.chance(4) ? (random.chance(2) ? 0u : 255u) : static_cast<uint32_t>(random.range(0, 255));
        GuardedBuffer<uint32_t> fast(count, GetParam()), a(count, GetParam()), b(count, GetParam());
        std::vector<uint32_t> reference(count);
        random.fill(a.data(), count);
        random.fill(b.data(), count);
        blendRow(fast.data(), a.data(), b.data(), count, alpha);
        blendRowScalar(reference.data(), a.data(), b.data(), count, alpha);
        for (size_t i = 0; i < count; ++i) ASSERT_EQ(fast[i], reference[i]) << "seed " << seed << " pixel " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(BothEnds, RowFastPath, testing::Values(GuardSide::After, GuardSide::Before));
