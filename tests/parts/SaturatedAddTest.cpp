#include <gtest/gtest.h>

#include <vector>

#include "TestBitmaps.h"
#include "parts/SaturatedAdd.h"

TEST(SaturatedAdd, AddsEveryByteAndSaturatesAt255) {
    uint32_t dst[5] = {0x00808080, 0x01A0A0A0, 0x12345678, 0xFFFFFFFF, 0x00000000};
    const uint32_t src[5] = {0x00C0C0C0, 0xFF808080, 0x01010101, 0x01010101, 0x00000000};
    addSaturatedScalar(dst, src, 5);
    EXPECT_EQ(dst[0], 0x00FFFFFFu);
    EXPECT_EQ(dst[1], 0xFFFFFFFFu);
    EXPECT_EQ(dst[2], 0x13355779u);
    EXPECT_EQ(dst[3], 0xFFFFFFFFu);
    EXPECT_EQ(dst[4], 0x00000000u);
}

// The case number is the seed; sizes 0..40 reach the vector body and every tail length.
TEST(SaturatedAdd, Sse2MatchesScalarOnRandomData) {
    for (uint32_t seed = 0; seed < 400; ++seed) {
        std::mt19937 random(seed);
        size_t count = random() % 41;
        size_t start = random() % 3;  // unaligned starts as well
        std::vector<uint32_t> src(count + start), fast(count + start), reference(count + start);
        for (size_t i = 0; i < src.size(); ++i) {
            src[i] = biasedRandomPixel(random);
            fast[i] = reference[i] = biasedRandomPixel(random);
        }
        addSaturated(fast.data() + start, src.data() + start, count);
        addSaturatedScalar(reference.data() + start, src.data() + start, count);
        ASSERT_EQ(fast, reference) << "seed " << seed;
    }
}
