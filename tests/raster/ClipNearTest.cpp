#include <gtest/gtest.h>

#include "raster/RenderPolygon.h"
#include "RasterTestSupport.h"

namespace {

// A polygon in camera space with distinct coordinates and shade at each vertex.
void setUp(TestPolygon& p, const float (&z)[3]) {
    for (int i = 0; i < 3; ++i) {
        p.points[i] = 10.0f * i;
        p.points[3 + i] = 20.0f * i * i;
        p.points[6 + i] = z[i];
        p.imageCoords[i] = 100.0f * i;
        p.imageCoords[3 + i] = 50.0f * i;
        p.envCoords[i] = 40.0f * i;
        p.envCoords[3 + i] = 60.0f * i;
        p.bumpCoords[i] = 8.0f * i;
        p.bumpCoords[3 + i] = 4.0f * i;
        for (int c = 0; c < 3; ++c) p.shade[c * 3 + i] = 80 * i + c;
    }
    p.polygon.colour = 0x123456;
    p.polygon.level = 9;
    p.polygon.mode = 8;
    p.polygon.kind = 7;
}

TEST(ClipNear, NothingBehindLeavesThePolygonAndCopiesSharedFields) {
    TestPolygon p, scratch;
    setUp(p, {5, 10, 10});  // exactly on the plane is in front
    const ClipResult r = clipNear(p.get(), scratch.get(), 5.0f);
    EXPECT_EQ(r.first, p.get());
    EXPECT_EQ(r.second, nullptr);
    EXPECT_EQ(r.drawFirst, 1);
    EXPECT_EQ(r.drawSecond, 0);
    EXPECT_EQ(p.points[6], 5.0f);
    EXPECT_EQ(p.points[0], 0.0f);
    EXPECT_EQ(scratch.polygon.colour, 0x123456u);
    EXPECT_EQ(scratch.polygon.level, 9);
    EXPECT_EQ(scratch.polygon.mode, 8);
    EXPECT_EQ(scratch.polygon.kind, 7);
    EXPECT_EQ(scratch.shade[4], p.shade[4]);
}

TEST(ClipNear, AllBehindDrawsNothing) {
    TestPolygon p, scratch;
    setUp(p, {1, 2, 4.99f});
    const ClipResult r = clipNear(p.get(), scratch.get(), 5.0f);
    EXPECT_EQ(r.drawFirst, 0);
    EXPECT_EQ(r.drawSecond, 0);
    EXPECT_EQ(r.first, nullptr);
}

TEST(ClipNear, OneBehindGivesTwoTrianglesWithEveryCoordinateSetCut) {
    TestPolygon p, scratch;
    setUp(p, {10, 3, 10});  // e = 1, n = 2, p = 0
    const ClipResult r = clipNear(p.get(), scratch.get(), 5.0f);
    ASSERT_EQ(r.first, p.get());
    ASSERT_EQ(r.second, scratch.get());
    EXPECT_EQ(r.drawFirst, 1);
    EXPECT_EQ(r.drawSecond, 1);
    // B on the edge from vertex 1 (z 3) to vertex 0 (z 10): t = 2/7.
    const float t = 2.0f / 7.0f;
    EXPECT_EQ(p.points[7], 5.0f);
    EXPECT_FLOAT_EQ(p.points[1], 10.0f + t * (0.0f - 10.0f));
    EXPECT_FLOAT_EQ(p.imageCoords[1], 100.0f * (1 - t));
    EXPECT_FLOAT_EQ(p.envCoords[4], 60.0f * (1 - t));
    EXPECT_FLOAT_EQ(p.bumpCoords[1], 8.0f * (1 - t));
    EXPECT_EQ(p.shade[1], static_cast<int32_t>(80.0f * (1 - t)));
    // Untouched vertices keep their values.
    EXPECT_EQ(p.points[6], 10.0f);
    EXPECT_EQ(p.points[2], 20.0f);
    // Scratch: (V2, B, A) with A on the edge from vertex 2 to vertex 1, t = 5/7.
    EXPECT_EQ(scratch.points[0], 20.0f);
    EXPECT_EQ(scratch.points[6], 10.0f);
    EXPECT_EQ(scratch.points[1], p.points[1]);
    EXPECT_EQ(scratch.points[7], 5.0f);
    EXPECT_EQ(scratch.points[8], 5.0f);
    const float s = 5.0f / 7.0f;
    EXPECT_FLOAT_EQ(scratch.points[2], 20.0f + s * (10.0f - 20.0f));
    EXPECT_FLOAT_EQ(scratch.envCoords[2], 80.0f + s * (40.0f - 80.0f));
    EXPECT_FLOAT_EQ(scratch.bumpCoords[5], 8.0f + s * (4.0f - 8.0f));
    EXPECT_EQ(scratch.shade[2 + 3], static_cast<int32_t>(161.0f + s * (81.0f - 161.0f)));
}

// The two triangles keep the winding of the uncut polygon.
TEST(ClipNear, OneBehindKeepsTheWinding) {
    for (int behind = 0; behind < 3; ++behind) {
        TestPolygon p, scratch;
        float z[3] = {10, 12, 14};
        z[behind] = 2;
        setUp(p, z);
        const float area = (p.points[3] - p.points[5]) * (p.points[1] - p.points[0]) -
                           (p.points[0] - p.points[2]) * (p.points[4] - p.points[3]);
        clipNear(p.get(), scratch.get(), 5.0f);
        auto signedArea = [](const float* q) {
            return (q[3] - q[5]) * (q[1] - q[0]) - (q[0] - q[2]) * (q[4] - q[3]);
        };
        EXPECT_GT(signedArea(p.points) * area, 0) << behind;
        EXPECT_GT(signedArea(scratch.points) * area, 0) << behind;
    }
}

TEST(ClipNear, TwoBehindMovesBothTowardTheKeptVertex) {
    TestPolygon p, scratch;
    setUp(p, {2, 4, 12});  // f = 2, e = 0, g = 1
    const ClipResult r = clipNear(p.get(), scratch.get(), 5.0f);
    EXPECT_EQ(r.first, p.get());
    EXPECT_EQ(r.drawFirst, 1);
    EXPECT_EQ(r.drawSecond, 0);
    EXPECT_EQ(p.points[6], 5.0f);
    EXPECT_EQ(p.points[7], 5.0f);
    EXPECT_EQ(p.points[8], 12.0f);
    const float t = 3.0f / 10.0f;  // vertex 0 toward vertex 2
    EXPECT_FLOAT_EQ(p.points[0], 20.0f * t);
    EXPECT_FLOAT_EQ(p.envCoords[3], 120.0f * t);
    const float u = (5.0f - 12.0f) / (4.0f - 12.0f);  // from vertex 2 toward vertex 1
    EXPECT_FLOAT_EQ(p.points[1], 20.0f + u * (10.0f - 20.0f));
    EXPECT_FLOAT_EQ(p.bumpCoords[1], 16.0f + u * (8.0f - 16.0f));
}

TEST(ClipNear, TwoBehindWithTheThirdOnThePlaneCollapses) {
    TestPolygon p, scratch;
    setUp(p, {5, 1, 2});
    const ClipResult r = clipNear(p.get(), scratch.get(), 5.0f);
    EXPECT_EQ(r.drawFirst, 1);
    for (int i = 1; i < 3; ++i) {
        EXPECT_EQ(p.points[i], p.points[0]);
        EXPECT_EQ(p.points[3 + i], p.points[3]);
        EXPECT_EQ(p.points[6 + i], 5.0f);
    }
}

}  // namespace
