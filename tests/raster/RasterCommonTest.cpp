#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "raster/FixedPoint.h"
#include "raster/RasterCommon.h"

namespace {

TEST(Projection, HalfWidthOverDepthIsTheRightEdge) {
    float points[9] = {1, 0, -1, 0, 1, 0, 2, 2, 4};
    projectToScreen(points, 512, 384);
    EXPECT_EQ(points[0], 512.0f);
    EXPECT_EQ(points[3], 192.0f);
    EXPECT_EQ(points[1], 256.0f);
    EXPECT_EQ(points[4], 192.0f - 256.0f);
    EXPECT_EQ(points[2], 128.0f);
    EXPECT_EQ(points[6], 2.0f);  // z stays
}

TEST(Projection, NonFiniteVerticesAreNotAccepted) {
    float points[9] = {1, 2, 3, 1, 2, 3, 0, 1, 1};
    EXPECT_FALSE(projectAndAccept(points, 512, 384));
}

TEST(TrivialReject, StrictComparisonsOnEachSide) {
    const float right[9] = {600, 513, 700, 10, 20, 30};
    const float onEdge[9] = {600, 512, 700, 10, 20, 30};
    const float left[9] = {-1, -0.5f, -600, 10, 20, 30};
    const float touchingLeft[9] = {-1, 0, -600, 10, 20, 30};
    const float below[9] = {10, 20, 30, 385, 400, 1000};
    const float above[9] = {10, 20, 30, -1, -2, -0.1f};
    const float spread[9] = {-100, 600, 10, -50, 500, 10};
    EXPECT_TRUE(triviallyRejected(right, 512, 384));
    EXPECT_FALSE(triviallyRejected(onEdge, 512, 384));
    EXPECT_TRUE(triviallyRejected(left, 512, 384));
    EXPECT_FALSE(triviallyRejected(touchingLeft, 512, 384));
    EXPECT_TRUE(triviallyRejected(below, 512, 384));
    EXPECT_TRUE(triviallyRejected(above, 512, 384));
    EXPECT_FALSE(triviallyRejected(spread, 512, 384));
}

TEST(BackFace, CounterClockwiseOnScreenFacesAway) {
    // y grows downward: right then down is clockwise as seen.
    const float clockwise[9] = {0, 10, 0, 0, 0, 10};
    const float counterClockwise[9] = {0, 0, 10, 0, 10, 0};
    const float degenerate[9] = {0, 5, 10, 0, 5, 10};
    EXPECT_FALSE(facesAway(clockwise));
    EXPECT_TRUE(facesAway(counterClockwise));
    EXPECT_FALSE(facesAway(degenerate));
}

TEST(VertexOrder, FourCompareAndSwapStepsKeepEqualYInOrder) {
    const float points[9] = {0, 0, 0, 5, 5, 3};
    const VertexOrder o = orderByScreenY(points);
    EXPECT_EQ(o.a, 2);
    EXPECT_EQ(o.b, 0);
    EXPECT_EQ(o.c, 1);
    const float reversed[9] = {0, 0, 0, 9, 4, 1};
    const VertexOrder r = orderByScreenY(reversed);
    EXPECT_EQ(r.a, 2);
    EXPECT_EQ(r.b, 1);
    EXPECT_EQ(r.c, 0);
}

TEST(TextureAddressing, WrapsBothWaysIncludingNegative) {
    EXPECT_EQ(texelIndex(toFixed16(256.5f), toFixed16(-0.25f)), 255u * 256u + 0u);
    EXPECT_EQ(texelIndex(toFixed16(-0.5f), 0), 255u);
    EXPECT_EQ(texelIndex(toFixed16(3.99f), toFixed16(513.0f)), 1u * 256u + 3u);
}

// The three truncations agree on every value in range and differ only outside it.
TEST(FixedPoint, TruncationTowardZeroAndOutOfRange) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double value : {-10.9, 10.9, -0.5, 2147483647.0, -2147483648.0, 1023.99, -1024.0}) {
        EXPECT_EQ(truncateOrIntMin(value), static_cast<int32_t>(value)) << value;
        EXPECT_EQ(truncateSaturating(value), static_cast<int32_t>(value)) << value;
    }
    EXPECT_EQ(truncateClamped(-10.9, 1024), -10);
    EXPECT_EQ(truncateClamped(1023.99, 1024), 1023);
    EXPECT_EQ(toFixed16(-10.5f), -688128);
    EXPECT_EQ(toFixed16(-10.5f) >> 16, -11);  // the arithmetic shift floors
    EXPECT_EQ(truncateOrIntMin(3e9), INT32_MIN);
    EXPECT_EQ(truncateOrIntMin(-3e9), INT32_MIN);
    EXPECT_EQ(truncateOrIntMin(nan), INT32_MIN);
    EXPECT_EQ(truncateSaturating(3e9), INT32_MAX);
    EXPECT_EQ(truncateSaturating(-3e9), INT32_MIN);
    EXPECT_EQ(truncateSaturating(nan), 0);
    EXPECT_EQ(truncateClamped(1e300, 1024), 1024);
    EXPECT_EQ(truncateClamped(-1024.5, 1024), -1024);
    EXPECT_EQ(truncateClamped(-1e300, 1024), -1024);
    EXPECT_EQ(truncateClamped(nan, 1024), 0);
    EXPECT_EQ(stepOver(0, 100, 0), 0);
    EXPECT_EQ(stepOver(0, -7, 2), -3);
    EXPECT_EQ(advanceBy(5, -3, 4), -7);
}

TEST(DepthKey, StampPlusInverseDepth) {
    EXPECT_EQ(depthKey(7.0f, 0.1f), 7.0f + 0.1f);
    EXPECT_GT(depthKey(8.0f, 0.001f), depthKey(7.0f, 0.9f));
}

}  // namespace
