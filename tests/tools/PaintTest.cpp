#include <gtest/gtest.h>

#include <numeric>
#include <utility>

#include "Icon.h"
#include "Mask.h"
#include "Noise.h"

// The painting helpers the pictures are built from.

TEST(Mask, PolygonCoverageMatchesItsArea) {
    // A square with fractional edges and a right triangle: 4 x 4 samples a pixel give the
    // area to within a sixteenth of a pixel per edge pixel.
    Mask square = polygonMask(20, 20, {{2.25f, 3.5f}, {12.25f, 3.5f}, {12.25f, 9.5f}, {2.25f, 9.5f}});
    EXPECT_NEAR(std::accumulate(square.alpha.begin(), square.alpha.end(), 0.0), 60.0, 0.5);
    Mask triangle = polygonMask(20, 20, {{0, 0}, {16, 0}, {0, 16}});
    EXPECT_NEAR(std::accumulate(triangle.alpha.begin(), triangle.alpha.end(), 0.0), 128.0, 2.0);
    EXPECT_EQ(square.at(7, 6), 1.0f);
    EXPECT_EQ(square.at(15, 15), 0.0f);
}

TEST(Mask, BlurKeepsCoverageAwayFromTheEdges) {
    Mask dot(41, 41);
    dot.ref(20, 20) = 1.0f;
    Mask soft = blurred(dot, 3);
    EXPECT_NEAR(std::accumulate(soft.alpha.begin(), soft.alpha.end(), 0.0), 1.0, 1e-4);
    EXPECT_GT(soft.at(20, 20), soft.at(23, 20));
    EXPECT_FLOAT_EQ(soft.at(19, 20), soft.at(21, 20));
}

TEST(Noise, RepeatsAfterItsPeriod) {
    for (float y : {0.0f, 3.3f, 100.7f})
        for (float x : {0.0f, 17.25f, 200.5f}) {
            EXPECT_FLOAT_EQ(periodicFbm(x, y, 256, 8, 4, 5), periodicFbm(x + 256, y, 256, 8, 4, 5));
            EXPECT_FLOAT_EQ(periodicFbm(x, y, 256, 8, 4, 5), periodicFbm(x, y - 256, 256, 8, 4, 5));
        }
    EXPECT_NE(periodicFbm(10, 10, 256, 8, 4, 5), periodicFbm(138, 10, 256, 8, 4, 5));
}

TEST(Icon, AveragesEqualBoxesOfTheCentreSquare) {
    // Red follows x and green follows y, so each icon pixel's colour gives the mean position
    // of the picture pixels it was made from: 384 x 384 from x = 64, in boxes of 3 x 3.
    Canvas picture(512, 384);
    picture.shade([](float x, float y) { return Rgb{x / 512, y / 384, 0.5f}; });
    Canvas icon = makeIcon(picture, 128);
    ASSERT_EQ(icon.width(), 128);
    ASSERT_EQ(icon.height(), 128);
    for (auto [ix, iy] : {std::pair{0, 0}, std::pair{127, 127}, std::pair{40, 90}}) {
        EXPECT_NEAR(icon.at(ix, iy).r, (64 + ix * 3 + 1.5f) / 512, 1e-5f) << ix;
        EXPECT_NEAR(icon.at(ix, iy).g, (iy * 3 + 1.5f) / 384, 1e-5f) << iy;
        EXPECT_NEAR(icon.at(ix, iy).b, 0.5f, 1e-5f);
    }
}
