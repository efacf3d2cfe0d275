#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "RasterTestSupport.h"
#include "raster/AffineWalk.h"
#include "raster/PerspectiveWalk.h"

// Triangles whose top lies thousands of rows above the target, as a vertex just past the
// near plane puts it: both edge walks must draw exactly what stepping every row draws.

namespace {

// The affine walk without any jump: every row from the top, each edge stepped once a row.
template <int N, class Span>
void walkEveryAffineRow(const AffineTriangle<N>& t, int32_t height, Span&& span) {
    AffineEdge<N> longEdge(t.a, t.c, rowsBetween(t.top, t.bottom));
    AffineEdge<N> upperEdge(t.a, t.b, rowsBetween(t.top, t.mid));
    AffineEdge<N> lowerEdge(t.b, t.c, rowsBetween(t.mid, t.bottom));
    for (int32_t y = t.top; y < t.bottom && y < height; ++y) {
        AffineEdge<N>& shortEdge = y < t.mid ? upperEdge : lowerEdge;
        span(y, shortEdge, longEdge);
        shortEdge.advance();
        longEdge.advance();
    }
}

// The same for the perspective set-up's rows: every row stepped by addition.
template <class Span>
auto everyPerspectiveRow(PerspectiveState& s, const Span& span) {
    return [&s, &span](int32_t first, int32_t stop) {
        for (int32_t y = first; y < stop && y < s.height; ++y) {
            if (y >= 0) {
                const int32_t d = std::max(truncateOrIntMin(s.leftX), 0), e = std::min(truncateOrIntMin(s.rightX), s.width);
                if (e > d) span.row(y, d, e - d);
            }
            s.leftX += s.leftXStep;
            s.rightX += s.rightXStep;
            s.leftW += s.leftWStep;
            s.leftU += s.leftUStep;
            s.leftV += s.leftVStep;
        }
    };
}

// Stores the texel at the coordinates and the key, where the key passes.
struct AffineStore {
    const uint32_t* texture;
    void operator()(uint32_t& pixel, float& depth, float key, const Quantities<2>& q) const {
        pixel = texture[texelIndex(q[0], q[1])];
        depth = key;
    }
};

struct PerspectiveStore {
    static constexpr bool kFogged = false;
    void operator()(uint32_t& pixel, float& depth, float key, uint32_t texel, int32_t) const {
        if (key <= depth) return;
        pixel = texel;
        depth = key;
    }
};

TEST(RowJump, TopsUpToAHundredThousandRowsAboveDrawAsEveryRowStepped) {
    GuardedFrame frame, expectedFrame;
    GuardedDriver driver, expectedDriver;
    GuardedTexture texture;
    std::mt19937 random(16);
    auto uniform = [&random](float low, float high) { return std::uniform_real_distribution<float>(low, high)(random); };
    for (int i = 0; i < 65536; ++i) texture.texels[i] = static_cast<uint32_t>(random());

    const AffineTarget target{frame.memory.data(), driver.depth.data(), kFrameWidth, kFrameHeight, 1.0f};
    const AffineTarget expectedTarget{expectedFrame.memory.data(), expectedDriver.depth.data(), kFrameWidth,
                                      kFrameHeight, 1.0f};
    const AffineStore affineRule{texture.data()};
    const PerspectiveStore perspectiveRule;
    PerspectiveState state, expectedState;
    for (PerspectiveState* s : {&state, &expectedState}) {
        s->texture = texture.data();
        s->width = kFrameWidth;
        s->height = kFrameHeight;
    }
    state.pixels = frame.memory.data();
    state.depth = driver.depth.data();
    expectedState.pixels = expectedFrame.memory.data();
    expectedState.depth = expectedDriver.depth.data();

    size_t affineDrawn = 0, perspectiveDrawn = 0;
    for (int n = 0; n < 24; ++n) {
        const float rowsAbove = n == 0 ? 5000.0f : n == 1 ? 100000.0f : uniform(5000, 100000);
        // Screen x x x, y y y, z z z: the top far above, the others on or just below the target.
        float points[9] = {uniform(-200, 700), uniform(0, 512), uniform(0, 512),
                           -rowsAbove - uniform(0, 1), uniform(0, 500), uniform(0, 500),
                           uniform(1, 4), uniform(1, 100), uniform(1, 100)};
        float coords[6];
        for (float& c : coords) c = uniform(-3000, 3000);
        SCOPED_TRACE(testing::Message() << "triangle " << n << ", top " << points[3]);

        for (GuardedFrame* f : {&frame, &expectedFrame}) f->memory.fill(0);
        for (GuardedDriver* d : {&driver, &expectedDriver}) d->depth.fill(0.0f);
        const AffineTriangle<2> triangle = makeAffineTriangle<2>(
            points, [&coords](int vertex, int k) { return fixedCoordinate(coords, vertex, k); });
        fillAffineTriangle(triangle, target, affineRule);
        walkEveryAffineRow(triangle, kFrameHeight, affineRowFiller<2>(expectedTarget, affineRule));
        for (size_t i = 0; i < frame.memory.size(); ++i) affineDrawn += driver.depth[i] != 0.0f ? 1 : 0;
        ASSERT_TRUE(std::equal(frame.memory.data(), frame.memory.data() + frame.memory.size(),
                               expectedFrame.memory.data())) << "affine pixels";
        ASSERT_TRUE(std::equal(driver.depth.data(), driver.depth.data() + driver.depth.size(),
                               expectedDriver.depth.data())) << "affine keys";

        for (GuardedFrame* f : {&frame, &expectedFrame}) f->memory.fill(0);
        for (GuardedDriver* d : {&driver, &expectedDriver}) d->depth.fill(0.0f);
        fillPerspectiveTriangle<4>(state, points, coords, 1.0f, perspectiveRule);
        const PerspectiveSpan<4, PerspectiveStore> expectedSpan{expectedState, perspectiveRule, 1.0f};
        setUpPerspectiveTriangle(points, coords, 16.0f, expectedState, everyPerspectiveRow(expectedState, expectedSpan));
        for (size_t i = 0; i < frame.memory.size(); ++i) perspectiveDrawn += driver.depth[i] != 0.0f ? 1 : 0;
        ASSERT_TRUE(std::equal(frame.memory.data(), frame.memory.data() + frame.memory.size(),
                               expectedFrame.memory.data())) << "perspective pixels";
        ASSERT_TRUE(std::equal(driver.depth.data(), driver.depth.data() + driver.depth.size(),
                               expectedDriver.depth.data())) << "perspective keys";
    }
    // The triangles did reach the target: the comparisons were of drawn pixels.
    EXPECT_GT(affineDrawn, 24u * 10000);
    EXPECT_GT(perspectiveDrawn, 24u * 10000);
}

}  // namespace
