#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "raster/PerspectiveWalk.h"
#include "RasterTestSupport.h"

namespace {

constexpr uint32_t kBackground = 0x00102030u;

class PerspectiveFillers : public testing::Test {
protected:
    GuardedFrame frame;
    GuardedDriver driver;
    GuardedTexture image;
    TestPolygon p;

    PerspectiveFillers() {
        frame.memory.fill(kBackground);
        p.polygon.image = image.data();
    }
    void bigTriangle(float z = 2) {
        p.screenVertex(0, 100, 50, z);
        p.screenVertex(1, 400, 50, z);
        p.screenVertex(2, 100, 350, z);
    }
    uint32_t centre() { return frame.at(150, 100); }
    float centreDepth() { return driver.depthAt(150, 100); }
    size_t changedPixels() {
        size_t n = 0;
        for (size_t i = 0; i < frame.memory.size(); ++i) n += frame.memory[i] != kBackground ? 1 : 0;
        return n;
    }
};

// Unshifted 2.9 .. 9.1 is shifted 3.4 .. 9.6: columns 3 to 8, each sampled at its centre.
TEST_F(PerspectiveFillers, SpanCoversColumnsWhoseCentresLieInside) {
    for (int column = 0; column < 256; ++column) image.at(column, 0) = static_cast<uint32_t>(column);
    // u = 2 * x + 0.5: the centre of column x reads texel 2x + 1, its left border 2x.
    const float xs[3] = {2.9f, 9.1f, 2.9f}, ys[3] = {10.5f, 10.5f, 30.5f};
    for (int i = 0; i < 3; ++i) {
        p.screenVertex(i, xs[i], ys[i], 1);
        p.imageCoords[i] = 2 * xs[i] + 0.5f;
    }
    driver->drawPerspectiveNoDepth(p.get(), &frame.bitmap, 0);
    // Row 11 samples at unshifted y 11.5, one unit below the top edge: right x = 9.1 - 0.31.
    EXPECT_EQ(frame.at(2, 11), kBackground);
    for (uint32_t x = 3; x <= 8; ++x) EXPECT_EQ(frame.at(x, 11), 2 * x + 1) << x;
    EXPECT_EQ(frame.at(9, 11), kBackground);
    EXPECT_EQ(frame.at(5, 10), kBackground);  // the top row's centre line is above the edge
}

TEST_F(PerspectiveFillers, WideTriangleReachesTheLastColumn) {
    image.fill(0x00FFFFFFu);
    p.screenVertex(0, -20, 100, 2);
    p.screenVertex(1, 600, 100, 2);
    p.screenVertex(2, -20, 300, 2);
    driver->drawPerspective(p.get(), &frame.bitmap, 1);
    for (int x = 0; x < kFrameWidth; ++x) ASSERT_EQ(frame.at(x, 101), 0x00FFFFFFu) << x;
    EXPECT_EQ(driver.depthAt(511, 101), 1.5f);
}

TEST_F(PerspectiveFillers, TriangleWithinOneColumnDrawsNothing) {
    image.fill(0x00FFFFFFu);
    p.screenVertex(0, 9.7f, 10, 1);
    p.screenVertex(1, 10.4f, 300, 1);
    p.screenVertex(2, 10.2f, 150, 1);
    driver->drawPerspectiveKeyed(p.get(), &frame.bitmap, 1);
    EXPECT_EQ(changedPixels(), 0u);
    p.screenVertex(0, 9.7f, 10, 1);
    p.screenVertex(1, 13.4f, 300, 1);
    p.screenVertex(2, 10.2f, 150, 1);
    driver->drawPerspectiveKeyed(p.get(), &frame.bitmap, 1);
    EXPECT_GT(changedPixels(), 0u);
}

// Both halves with the long edge on either side. Rows are sampled on their centre lines and
// pixels at their centres, so row y covers the columns whose centres lie between the edges
// at y + 0.5; the vertex rows have different fractions, so each half's left edge must start
// with its own prestep. u is the screen x: every pixel reads the texel of its own column.
TEST_F(PerspectiveFillers, BothHalvesWithTheLongEdgeOnEitherSide) {
    // Never 0: the colour-keyed operation would leave a hole.
    for (int column = 0; column < 256; ++column) image.at(column, 0) = 0x100u | static_cast<uint32_t>(column);
    const float baseYs[3] = {50.2f, 150.7f, 250.2f};
    // Middle vertex on the left (long edge on the right), then mirrored.
    const float cases[][3] = {{200.2f, 100.2f, 300.2f}, {200.2f, 300.2f, 100.2f}};
    // Inside the frame; cut by its left and top sides; cut by its right and bottom sides.
    const float offsets[][2] = {{0, 0}, {-150, -150}, {250, 250}};
    int32_t stamp = 0;
    for (int k = 0; k < 6; ++k) {
        float xs[3], ys[3];
        for (int i = 0; i < 3; ++i) {
            xs[i] = cases[k % 2][i] + offsets[k / 2][0];
            ys[i] = baseYs[i] + offsets[k / 2][1];
        }
        frame.memory.fill(kBackground);
        ++stamp;  // a newer frame: the keys of the case before do not hide this one
        for (int i = 0; i < 3; ++i) {
            p.screenVertex(i, xs[i], ys[i], 2);
            p.imageCoords[i] = xs[i];
            p.imageCoords[3 + i] = 0;
        }
        driver->drawPerspectiveKeyed(p.get(), &frame.bitmap, stamp);
        auto edgeX = [&](int from, int to, double y) {
            return xs[from] + (xs[to] - xs[from]) * (y - ys[from]) / (ys[to] - ys[from]);
        };
        int drawn = 0;
        for (int y = 0; y < kFrameHeight; ++y) {
            double left = 0, right = 0;
            const double centre = y + 0.5;
            if (centre > ys[0] && centre < ys[2]) {
                const double longX = edgeX(0, 2, centre);
                const double shortX = centre < ys[1] ? edgeX(0, 1, centre) : edgeX(1, 2, centre);
                left = std::min(longX, shortX) + 0.5;
                right = std::max(longX, shortX) + 0.5;
            }
            // Within a hundredth of a column boundary float rounding may go either way.
            auto unsure = [](double edge, int x) {
                return std::abs(edge - std::round(edge)) < 0.01 && std::abs(x + 0.5 - std::round(edge)) < 1;
            };
            for (int x = 0; x < kFrameWidth; ++x) {
                if (unsure(left, x) || unsure(right, x)) continue;
                const bool covered = x >= static_cast<int>(left) && x < static_cast<int>(right);
                if (covered) ++drawn;
                const uint32_t expected = covered ? 0x100u | static_cast<uint32_t>(x & 255) : kBackground;
                ASSERT_EQ(frame.at(x, y), expected) << "case " << k << " at " << x << "," << y;
            }
        }
        EXPECT_GT(drawn, 2000) << k;
    }
}

// The fog amount is exact at the ends of each run and of the remainder and is stepped in
// 16.16 in between.
// A fogged rule that writes the fog amount itself.
struct RecordFogAmount {
    static constexpr bool kFogged = true;
    FogSettings fog;
    void operator()(uint32_t& pixel, float&, float, uint32_t, int32_t amount) const {
        pixel = static_cast<uint32_t>(amount);
    }
};

TEST(PerspectiveFog, AmountIsInterpolatedBetweenRunEnds) {
    GuardedTexture texture;
    GuardedBuffer<uint32_t> pixels{static_cast<size_t>(kFrameWidth) * kFrameHeight};
    GuardedBuffer<float> depth{static_cast<size_t>(kFrameWidth) * kFrameHeight};
    pixels.fill(0xDEADu);
    PerspectiveState s;
    s.texture = texture.data();
    s.pixels = pixels.data();
    s.depth = depth.data();
    s.width = kFrameWidth;
    s.height = kFrameHeight;
    s.leftX = 0.5f;  // prestep 0.5: w = 1 - 1/128 at column 0
    s.rightX = 21.5f;
    s.leftW = 1.0f;
    s.dwdx = -1.0f / 64;
    s.runDwdx = 16 * s.dwdx;
    // No fog at w = 1, full fog at w = 0.5. One run of 16 pixels: w falls from 0.9921875
    // (amount 3) to 0.7421875 (amount 131), 8 a pixel. The remainder of 5: down to
    // 0.6640625 (amount 171), again 8 a pixel.
    const RecordFogAmount rule{FogSettings{1.0f, 0.5f, 0.5f, 0}};
    PerspectiveSpan<4, RecordFogAmount>{s, rule, 0.0f}(0, 1);
    for (int x = 0; x < 16; ++x) EXPECT_EQ(pixels[x], static_cast<uint32_t>(3 + 8 * x)) << x;
    for (int x = 16; x < 21; ++x) EXPECT_EQ(pixels[x], static_cast<uint32_t>(131 + 8 * (x - 16))) << x;
    EXPECT_EQ(pixels[21], 0xDEADu);
}

TEST_F(PerspectiveFillers, CullingAndModes) {
    image.fill(0x00ABCDEFu);
    p.polygon.mode = 8;
    bigTriangle();
    driver->drawPerspective(p.get(), &frame.bitmap, 1);
    EXPECT_EQ(changedPixels(), 0u);

    driver->fogNear = 0.1f;
    driver->fogFar = 0.02f;
    driver->fogRange = 0.08f;
    driver->fogColour = 0;
    bigTriangle();  // 1/z = 0.5: no fog
    driver->drawPerspectiveFog(p.get(), &frame.bitmap, 1);
    EXPECT_EQ(centre(), 0x00ABCDEFu);
    EXPECT_EQ(centreDepth(), 1.5f);

    frame.memory.fill(kBackground);
    p.screenVertex(0, 100, 50, 2);
    p.screenVertex(1, 100, 350, 2);
    p.screenVertex(2, 400, 50, 2);  // counter-clockwise
    driver->drawPerspectiveNoDepth(p.get(), &frame.bitmap, 2);
    EXPECT_EQ(changedPixels(), 0u);
    p.screenVertex(0, 100, 50, 2);
    p.screenVertex(1, 100, 350, 2);
    p.screenVertex(2, 400, 50, 2);
    driver->drawPerspectiveKeyed(p.get(), &frame.bitmap, 2);
    EXPECT_EQ(centre(), 0x00ABCDEFu);
}

TEST_F(PerspectiveFillers, DepthTestingAndStoring) {
    image.fill(1);
    bigTriangle(4);
    driver->drawPerspective(p.get(), &frame.bitmap, 5);
    EXPECT_EQ(centre(), 1u);
    EXPECT_EQ(centreDepth(), 5.25f);
    image.fill(2);
    bigTriangle(8);  // farther
    driver->drawPerspective(p.get(), &frame.bitmap, 5);
    EXPECT_EQ(centre(), 1u);
    bigTriangle(8);  // the no-depth variants neither test nor store
    driver->drawPerspectiveNoDepth(p.get(), &frame.bitmap, 5);
    EXPECT_EQ(centre(), 2u);
    EXPECT_EQ(centreDepth(), 5.25f);
}

TEST_F(PerspectiveFillers, KeyedHolesStillOcclude) {
    image.fill(0x00445566u);
    bigTriangle(8);
    driver->drawPerspective(p.get(), &frame.bitmap, 1);
    image.fill(0);
    bigTriangle(4);
    driver->drawPerspectiveKeyed(p.get(), &frame.bitmap, 1);
    EXPECT_EQ(centre(), 0x00445566u);
    EXPECT_EQ(centreDepth(), 1.25f);
    image.fill(0x00FFFFFFu);
    bigTriangle(6);  // between the two: hidden by the hole
    driver->drawPerspective(p.get(), &frame.bitmap, 1);
    EXPECT_EQ(centre(), 0x00445566u);
}

TEST(FogSettings, AmountsAndTheGreyRule) {
    FogSettings fog{0.1f, 0.02f, 0.08f, 0};
    EXPECT_EQ(fog.amount(0.2f), 0);
    EXPECT_EQ(fog.amount(0.06f), 127);
    EXPECT_EQ(fog.amount(0.01f), 255);
    EXPECT_EQ(fog.apply(0x00400000u, 127), 0u);
    EXPECT_EQ(fog.apply(0x00C00000u, 127), 0x00410000u);
    EXPECT_EQ(fog.apply(0x00C00000u, 255), 0u);
    EXPECT_EQ(fog.apply(0x00C01234u, 0), 0x00C01234u);
    FogSettings white{0.1f, 0.02f, 0.08f, 0x00FFFFFFu};
    EXPECT_EQ(white.apply(0x00400000u, 127) >> 16, 0xBFu);
    EXPECT_EQ(white.apply(0x00C00000u, 127) >> 16, 0xFFu);
    EXPECT_EQ(white.apply(0x00C00000u, 255), 0x00FFFFFFu);
    // A zero range with w on the boundary has no ratio: the amount stays in range.
    FogSettings flat{0.1f, 0.1f, 0.0f, 0};
    EXPECT_EQ(flat.amount(0.1f), 0);
}

TEST_F(PerspectiveFillers, FogOverAWholeTriangle) {
    image.fill(0x00C04080u);
    driver->fogNear = 0.1f;
    driver->fogFar = 0.02f;
    driver->fogRange = 0.08f;
    driver->fogColour = 0;
    bigTriangle(1.0f / 0.06f);  // amount 127 everywhere
    const uint32_t expected = FogSettings{0.1f, 0.02f, 0.08f, 0}.apply(0x00C04080u, 127);
    driver->drawPerspectiveFogNoDepth(p.get(), &frame.bitmap, 1);
    EXPECT_EQ(centre(), expected);
    EXPECT_EQ(expected, 0x00410001u);
    EXPECT_EQ(centreDepth(), 0.0f);

    driver->fogColour = 0x00123456u;
    bigTriangle(128);  // 1/z below fogFar: the fog colour itself
    driver->drawPerspectiveFog(p.get(), &frame.bitmap, 2);
    EXPECT_EQ(centre(), 0x00123456u);
    EXPECT_EQ(centreDepth(), 2.0f + 1.0f / 128);
}

// A row of 37 pixels with 1/z falling from 1 to about 0.4: u is exact (U / w) at the ends of
// the runs and linear in between. Runs of 16 give two runs and a remainder of 5; runs of 64
// give one remainder of 37.
class PerspectiveSpanRuns : public testing::Test {
protected:
    GuardedFrame frame;
    GuardedTexture texture;
    GuardedBuffer<float> depth{static_cast<size_t>(kFrameWidth) * kFrameHeight};
    PerspectiveState s;

    struct Store {
        static constexpr bool kFogged = false;
        void operator()(uint32_t& pixel, float&, float, uint32_t texel, int32_t) const { pixel = texel; }
    };

    PerspectiveSpanRuns() {
        for (int column = 0; column < 256; ++column) texture.at(column, 0) = static_cast<uint32_t>(column);
        depth.fill(0);
        s.texture = texture.data();
        s.pixels = frame.memory.data();
        s.depth = depth.data();
        s.width = kFrameWidth;
        s.height = kFrameHeight;
        s.leftX = 0.5f;  // prestep 0.5 to the centre of column 0
        s.rightX = 37.5f;
        s.leftW = 1.0f;
        s.dwdx = -1.0f / 64;
        s.dUdx = 1.0f;  // u = t / (1 - t / 64) at t = x + 0.5
    }
    template <int RunShift>
    void drawRow() {
        s.runDwdx = static_cast<float>(1 << RunShift) * s.dwdx;
        s.runDUdx = static_cast<float>(1 << RunShift) * s.dUdx;
        const Store store;
        PerspectiveSpan<RunShift, Store>{s, store, 0.0f}(0, 1);
    }
};

TEST_F(PerspectiveSpanRuns, TwoRunsOf16AndARemainderOf5) {
    drawRow<4>();
    EXPECT_EQ(frame.at(0, 0), 0u);    // 0.504
    EXPECT_EQ(frame.at(8, 0), 11u);   // linear 11.37; exact would be 9.80
    EXPECT_EQ(frame.at(16, 0), 22u);  // run end, exact 22.23
    EXPECT_EQ(frame.at(32, 0), 66u);  // run end, exact 66.03
    EXPECT_EQ(frame.at(36, 0), 85u);  // remainder, linear toward 90.57 at t = 37.5
    EXPECT_EQ(frame.at(37, 0), 0u);
    for (int x = 1; x < 37; ++x) EXPECT_GE(frame.at(x, 0), frame.at(x - 1, 0)) << x;
}

TEST_F(PerspectiveSpanRuns, OneRemainderOf37WithRunsOf64) {
    drawRow<6>();
    EXPECT_EQ(frame.at(0, 0), 0u);
    EXPECT_EQ(frame.at(16, 0), 39u);  // linear from 0.504 toward 90.57
    EXPECT_EQ(frame.at(37, 0), 0u);
}

}  // namespace
