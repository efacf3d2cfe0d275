#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "raster/AffineWalk.h"
#include "raster/EnvironmentSpans.h"
#include "raster/PixelOperators.h"
#include "RasterTestSupport.h"

namespace {

constexpr uint32_t kBackground = 0x00102030u;

class AffineFillers : public testing::Test {
protected:
    GuardedFrame frame;
    GuardedDriver driver;
    GuardedTexture image, envMap, bumpMap, transpMap;
    TestPolygon p;

    AffineFillers() {
        frame.memory.fill(kBackground);
        p.polygon.image = image.data();
        p.polygon.envMap = envMap.data();
        p.polygon.bumpMap = bumpMap.data();
        p.polygon.transpMap = transpMap.data();
    }

    // A large clockwise triangle at depth z covering the centre of the frame.
    void bigTriangle(float z = 2) {
        p.screenVertex(0, 100, 50, z);
        p.screenVertex(1, 400, 50, z);
        p.screenVertex(2, 100, 350, z);
    }
    void bigCounterClockwiseTriangle(float z = 2) {
        p.screenVertex(0, 100, 50, z);
        p.screenVertex(1, 100, 350, z);
        p.screenVertex(2, 400, 50, z);
    }
    uint32_t centre() { return frame.at(150, 100); }
    float centreDepth() { return driver.depthAt(150, 100); }
    size_t changedPixels() {
        size_t n = 0;
        for (size_t i = 0; i < frame.memory.size(); ++i) n += frame.memory[i] != kBackground ? 1 : 0;
        return n;
    }
};

TEST_F(AffineFillers, SpanClipsLeftAndNeverWritesTheLastColumn) {
    p.polygon.colour = 0xABCDEF;
    p.screenVertex(0, -10.5f, 10, 2);
    p.screenVertex(1, 600, 10, 2);
    p.screenVertex(2, -10.5f, 20, 2);
    driver->drawFlat(p.get(), &frame.bitmap, 3);
    for (int x = 0; x <= 510; ++x) ASSERT_EQ(frame.at(x, 10), 0xABCDEFu) << x;
    EXPECT_EQ(frame.at(511, 10), kBackground);
    EXPECT_EQ(driver.depthAt(0, 10), 3.5f);
    EXPECT_EQ(driver.depthAt(511, 10), 0.0f);

    frame.memory.fill(kBackground);
    p.screenVertex(0, 300, 30, 2);
    p.screenVertex(1, 511.9f, 30, 2);
    p.screenVertex(2, 300, 40, 2);
    driver->drawFlat(p.get(), &frame.bitmap, 3);
    EXPECT_EQ(frame.at(510, 30), 0xABCDEFu);
    EXPECT_EQ(frame.at(511, 30), kBackground);
    EXPECT_EQ(frame.at(299, 30), kBackground);
    EXPECT_EQ(frame.at(300, 30), 0xABCDEFu);
}

// A span that starts left of the frame advances its coordinates by the skipped columns.
// The right edge steps 4 columns a row and u 4 texels, so on every row u = x + 100 exactly.
TEST_F(AffineFillers, SpanClippedOnTheLeftAdvancesItsCoordinates) {
    for (int column = 0; column < 256; ++column) image.at(column, 0) = 0x100u | static_cast<uint32_t>(column);
    p.screenVertex(0, -100, 10, 2);
    p.screenVertex(1, 300, 10, 2);
    p.screenVertex(2, -100, 110, 2);
    p.imageCoords[0] = 0;
    p.imageCoords[1] = 400;
    p.imageCoords[2] = 0;  // v stays 0
    driver->drawTextured(p.get(), &frame.bitmap, 1);
    for (int y : {10, 20, 60, 109}) {
        const int right = 300 - 4 * (y - 10);
        for (int x = 0; x < right; ++x)
            ASSERT_EQ(frame.at(x, y), 0x100u | static_cast<uint32_t>((x + 100) & 255)) << x << "," << y;
        EXPECT_EQ(frame.at(right, y), kBackground) << y;
    }
    EXPECT_EQ(frame.at(0, 110), kBackground);
}

// Rows trunc(ys[a]) .. trunc(ys[c]) - 1; the bottom row is never walked.
TEST_F(AffineFillers, WalkCoversTheRowsOfTheTruncatedVertexYs) {
    const float points[9] = {0, 100, 50, 10.9f, 11.2f, 12.0f, 1, 1, 1};
    const auto triangle = makeAffineTriangle<0>(points, [](int, int) { return 0; });
    std::vector<int32_t> rows;
    std::vector<int32_t> firstEdgeX;
    walkAffineTriangle(triangle, kFrameHeight, [&](int32_t y, const AffineEdge<0>& first, const AffineEdge<0>&) {
        rows.push_back(y);
        firstEdgeX.push_back(first.x);
    });
    ASSERT_EQ(rows, (std::vector<int32_t>{10, 11}));
    EXPECT_EQ(firstEdgeX[0], 0);             // upper half: the a->b edge at vertex a
    EXPECT_EQ(firstEdgeX[1], 100 * 65536);  // lower half: b->c starts at vertex b

    p.polygon.colour = 0xFF;
    p.screenVertex(0, 0, 10.9f, 2);
    p.screenVertex(1, 100, 11.2f, 2);
    p.screenVertex(2, 50, 12.0f, 2);
    driver->drawFlat(p.get(), &frame.bitmap, 0);
    EXPECT_EQ(frame.at(60, 11), 0xFFu);
    for (int x = 0; x < kFrameWidth; ++x) {
        ASSERT_EQ(frame.at(x, 12), kBackground);
        ASSERT_EQ(frame.at(x, 10), kBackground);  // both edges start at vertex a's x
    }
}

TEST_F(AffineFillers, TexturedWrapsCoordinates) {
    image.at(0, 255) = 0x00C0FFEEu;
    TestPolygon::constantCoords(p.imageCoords, 256.5f, -0.25f);
    bigTriangle();
    driver->drawTextured(p.get(), &frame.bitmap, 0);
    EXPECT_EQ(centre(), 0x00C0FFEEu);
    EXPECT_EQ(frame.at(101, 51), 0x00C0FFEEu);
}

TEST_F(AffineFillers, TexturedInterpolatesCoordinatesAffinely) {
    for (int column = 0; column < 256; ++column)
        for (int row = 0; row < 256; ++row) image.at(column, row) = static_cast<uint32_t>(row << 8 | column);
    // u follows screen x (texel = column - 100), v follows screen y.
    p.screenVertex(0, 100, 50, 2);
    p.screenVertex(1, 400, 50, 4);
    p.screenVertex(2, 100, 350, 8);
    p.imageCoords[0] = 0;
    p.imageCoords[1] = 300;
    p.imageCoords[2] = 0;
    p.imageCoords[3] = 0;
    p.imageCoords[4] = 0;
    p.imageCoords[5] = 300;
    driver->drawTextured(p.get(), &frame.bitmap, 0);
    EXPECT_EQ(frame.at(150, 100), static_cast<uint32_t>(50 << 8 | 50));
    EXPECT_EQ(frame.at(250, 60), static_cast<uint32_t>(10 << 8 | 150));
}

TEST_F(AffineFillers, TexturedModesAndLevels) {
    image.fill(0);  // black texel
    frame.memory.fill(0x00FF00FFu);
    TestPolygon::constantCoords(p.imageCoords, 3, 3);

    p.polygon.mode = 36;
    p.polygon.level = 255;
    bigTriangle();
    driver->drawTextured(p.get(), &frame.bitmap, 1);
    EXPECT_EQ(centre(), 0x00FF00FFu);
    EXPECT_EQ(centreDepth(), 0.0f);

    for (uint8_t level : {127, 128}) {
        frame.memory.fill(0x00FF00FFu);
        p.polygon.level = level;
        bigTriangle();
        driver->drawTextured(p.get(), &frame.bitmap, 1);
        EXPECT_EQ(centre(), 0x007F007Fu) << int(level);
        EXPECT_EQ(centreDepth(), 0.0f);
    }

    image.fill(0x00204060u);
    frame.memory.fill(0x00FF00FFu);
    p.polygon.level = 200;
    bigTriangle();
    driver->drawTextured(p.get(), &frame.bitmap, 1);
    EXPECT_EQ(centre(), 0x00CE0DDBu);

    frame.memory.fill(0x00F0F0F0u);
    p.polygon.mode = 8;
    bigTriangle();
    driver->drawTextured(p.get(), &frame.bitmap, 1);
    EXPECT_EQ(centre(), 0x00FFFFFFu);
    EXPECT_EQ(centreDepth(), 0.0f);
}

TEST_F(AffineFillers, TexturedCullsOnlyOpaqueMode) {
    image.fill(0x00ABCDEFu);
    p.polygon.mode = 0;
    bigCounterClockwiseTriangle();
    driver->drawTextured(p.get(), &frame.bitmap, 1);
    EXPECT_EQ(changedPixels(), 0u);

    p.polygon.mode = 36;
    p.polygon.level = 0;
    bigCounterClockwiseTriangle();
    driver->drawTextured(p.get(), &frame.bitmap, 1);
    EXPECT_EQ(centre(), 0x00ABCDEFu);
    EXPECT_EQ(centreDepth(), 1.5f);
}

TEST_F(AffineFillers, TransparencyLevelsFromTheBlueByte) {
    image.fill(0x00204080u);
    TestPolygon::constantCoords(p.imageCoords, 7, 9);
    const uint32_t d = 0x00C0C0C0u;
    const struct {
        uint32_t transparency, expected;
    } cases[] = {{0x000000FAu, d}, {0x00FFFFF9u, 0x00BBBCBDu /* 249/256 of d */}, {0x00FFFF00u, 0x00204080u}};
    for (const auto& c : cases) {
        frame.memory.fill(d);
        transpMap.fill(c.transparency);
        bigCounterClockwiseTriangle();  // not culled
        driver->drawTranspMapped(p.get(), &frame.bitmap, 1);
        EXPECT_EQ(centre(), c.expected) << c.transparency;
        EXPECT_EQ(centreDepth(), 0.0f);
    }
}

// Rows above the frame are skipped at once; the covered pixels are those of the common walk.
TEST_F(AffineFillers, TransparencyWalkCoversTheSamePixelsAsTheCommonWalk) {
    image.fill(0x00FFFFFFu);
    transpMap.fill(0);
    // x0 x1 x2 y0 y1 y2: top above the frame, middle above it too, inside, bottom below.
    const float shapes[][6] = {{30, 480, -200, -200, 20, 500},
                               {-50, 300, 200, -300, -10, 500},
                               {10, 500, 250, 5, 200, 383.5f},
                               {100, 400, 200, 100, 300, 900}};
    p.polygon.mode = 36;  // level 0: stores like mode 0 but is two-sided
    GuardedFrame reference;
    for (const auto& s : shapes) {
        frame.memory.fill(0);
        reference.memory.fill(0);
        for (int i = 0; i < 3; ++i) p.screenVertex(i, s[i], s[3 + i], 2);
        driver->drawTranspMapped(p.get(), &frame.bitmap, 1);
        for (int i = 0; i < 3; ++i) p.screenVertex(i, s[i], s[3 + i], 2);
        driver->drawTextured(p.get(), &reference.bitmap, 1);
        driver->clearDepth();
        size_t covered = 0;
        for (size_t i = 0; i < frame.memory.size(); ++i) {
            ASSERT_EQ(frame.memory[i], reference.memory[i]) << i;
            covered += frame.memory[i] != 0 ? 1 : 0;
        }
        EXPECT_GT(covered, 1000u);
    }
}

TEST_F(AffineFillers, BumpDisplacesTheEnvironmentRead) {
    envMap.at(10, 20) = 0x00111111u;
    envMap.at(14, 20) = 0x00222222u;
    envMap.at(10, 24) = 0x00333333u;
    TestPolygon::constantCoords(p.envCoords, 10.7f, 20.2f);
    TestPolygon::constantCoords(p.bumpCoords, 0, 0);
    bigTriangle();
    driver->drawBumpEnv(p.get(), &frame.bitmap, 1);
    EXPECT_EQ(centre(), 0x00111111u);
    EXPECT_EQ(centreDepth(), 1.5f);

    bumpMap.fill(0xFF34FF00u);  // red 52: 260 & 255 = 4 columns; green and bits 24-31 unused
    bigTriangle();
    driver->drawBumpEnv(p.get(), &frame.bitmap, 2);
    EXPECT_EQ(centre(), 0x00222222u);

    bumpMap.fill(0x00000052u);  // blue 0x52 = 82: 410 & 255 = 154 rows
    envMap.at(10, (20 + 154) & 255) = 0x00444444u;
    bigTriangle();
    driver->drawBumpEnv(p.get(), &frame.bitmap, 3);
    EXPECT_EQ(centre(), 0x00444444u);
}

TEST_F(AffineFillers, ImageBumpEnvWorkedExample) {
    bumpMap.fill(0x00030002u);
    envMap.at(25, 30) = 0x00202020u;
    image.fill(0x00F01010u);
    TestPolygon::constantCoords(p.envCoords, 10.7f, 20.2f);
    TestPolygon::constantCoords(p.imageCoords, 1, 1);
    bigTriangle();
    driver->drawImageBumpEnv(p.get(), &frame.bitmap, 1);
    EXPECT_EQ(centre(), 0x00FF3030u);
    EXPECT_EQ(centreDepth(), 1.5f);
}

// The four-at-a-time row loop against the plain one on random spans: random textures,
// coordinates and steps over the whole 32-bit range, 1/z steps of either sign, and a depth
// row that lets about half of the keys through. Pixels and depths must match bit for bit.
TEST(EnvironmentSpans, FourAtATimeMatchesThePlainLoopOnRandomSpans) {
    std::mt19937 random(7);
    std::vector<uint32_t> bump(65536), env(65536), picture(65536);
    for (auto* texture : {&bump, &env, &picture})
        for (uint32_t& texel : *texture) texel = static_cast<uint32_t>(random());
    const ImageBumpEnv rule{bump.data(), env.data(), picture.data()};
    const int32_t width = 64;
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (int round = 0; round < 400; ++round) {
        AffineSpan<6> span;
        span.xl = static_cast<int32_t>(random() % width);
        span.xr = span.xl + static_cast<int32_t>(random() % (width - span.xl));
        span.rowStart = static_cast<size_t>(random() % 3) * width;
        span.inverseZ = unit(random);
        span.inverseZStep = (unit(random) - 0.5f) / 32.0f;
        for (int k = 0; k < 6; ++k) {
            span.q[k] = static_cast<int32_t>(random());
            span.qStep[k] = round % 2 ? static_cast<int32_t>(random()) : static_cast<int32_t>(random() % 0x40000) - 0x20000;
        }
        const float stamp = static_cast<float>(round % 5);
        std::vector<uint32_t> pixelsPlain(3 * width), pixelsFast;
        std::vector<float> depthPlain(3 * width), depthFast;
        for (uint32_t& pixel : pixelsPlain) pixel = static_cast<uint32_t>(random());
        for (float& depth : depthPlain) depth = stamp + unit(random);
        pixelsFast = pixelsPlain;
        depthFast = depthPlain;
        fillImageBumpEnvSpanPlain({pixelsPlain.data(), depthPlain.data(), width, 3, stamp}, span, rule);
        fillImageBumpEnvSpan({pixelsFast.data(), depthFast.data(), width, 3, stamp}, span, rule);
        ASSERT_EQ(pixelsFast, pixelsPlain) << "round " << round;
        ASSERT_EQ(std::memcmp(depthFast.data(), depthPlain.data(), depthPlain.size() * sizeof(float)), 0)
            << "round " << round;
    }
}

TEST_F(AffineFillers, ImageEnvAddsBothTexels) {
    image.fill(0x80C04000u);
    envMap.fill(0x80808080u);
    bigTriangle();
    driver->drawImageEnv(p.get(), &frame.bitmap, 1);
    EXPECT_EQ(centre(), 0xFFFFC080u);
    EXPECT_EQ(centreDepth(), 1.5f);
}

TEST_F(AffineFillers, EnvironmentOperationsDrawOnlyInModeZero) {
    image.fill(0x00FFFFFFu);
    envMap.fill(0x00FFFFFFu);
    p.polygon.mode = 8;
    bigTriangle();
    driver->drawImageEnv(p.get(), &frame.bitmap, 1);
    bigTriangle();
    driver->drawBumpEnv(p.get(), &frame.bitmap, 1);
    bigTriangle();
    driver->drawImageBumpEnv(p.get(), &frame.bitmap, 1);
    EXPECT_EQ(changedPixels(), 0u);
}

TEST_F(AffineFillers, FlatModes) {
    frame.memory.fill(0x00F0F0F0u);
    p.polygon.colour = 0x00202020u;
    p.polygon.mode = 8;
    bigTriangle();
    driver->drawFlat(p.get(), &frame.bitmap, 1);
    EXPECT_EQ(centre(), 0x00FFFFFFu);
    EXPECT_EQ(centreDepth(), 0.0f);

    frame.memory.fill(kBackground);
    p.polygon.mode = 3;
    bigTriangle();
    driver->drawFlat(p.get(), &frame.bitmap, 1);
    EXPECT_EQ(changedPixels(), 0u);

    p.polygon.mode = 0;
    bigCounterClockwiseTriangle();  // flat fills are two-sided
    driver->drawFlat(p.get(), &frame.bitmap, 1);
    EXPECT_EQ(centre(), 0x00202020u);
    EXPECT_EQ(centreDepth(), 1.5f);
}

TEST_F(AffineFillers, DepthKeysOfANewerStampWinRegardlessOfDepth) {
    p.polygon.colour = 1;
    bigTriangle(10);  // 1/z = 0.1
    driver->drawFlat(p.get(), &frame.bitmap, 7);
    EXPECT_EQ(centreDepth(), 7.0f + 0.1f);

    p.polygon.colour = 2;
    bigTriangle(64);  // farther, same stamp: hidden
    driver->drawFlat(p.get(), &frame.bitmap, 7);
    EXPECT_EQ(centre(), 1u);

    p.polygon.colour = 3;
    bigTriangle(10);  // equal key fails
    driver->drawFlat(p.get(), &frame.bitmap, 7);
    EXPECT_EQ(centre(), 1u);

    p.polygon.colour = 4;
    bigTriangle(64);  // next frame's stamp wins
    driver->drawFlat(p.get(), &frame.bitmap, 8);
    EXPECT_EQ(centre(), 4u);
    EXPECT_EQ(centreDepth(), 8.0f + 1.0f / 64);
}

TEST_F(AffineFillers, ShadedOperationsModulateByIntensities) {
    for (int i = 0; i < 3; ++i) {
        p.shade[i] = 128;
        p.shade[3 + i] = 64;
        p.shade[6 + i] = 255;
    }
    p.polygon.colour = 0xFF80FF40u;
    bigTriangle();
    driver->drawShaded(p.get(), &frame.bitmap, 1);
    EXPECT_EQ(centre(), 0x00403F3Fu);
    EXPECT_EQ(centreDepth(), 1.5f);

    image.fill(0x00FFFFFFu);
    bigTriangle();
    driver->drawTexturedShaded(p.get(), &frame.bitmap, 2);
    EXPECT_EQ(centre(), 0x007F3FFEu);

    frame.memory.fill(kBackground);
    p.polygon.mode = 8;
    bigTriangle();
    driver->drawShaded(p.get(), &frame.bitmap, 3);
    bigTriangle();
    driver->drawTexturedShaded(p.get(), &frame.bitmap, 3);
    EXPECT_EQ(changedPixels(), 0u);
}

TEST_F(AffineFillers, TexturedShadedSkipsHalvesTallerThanTheTarget) {
    image.fill(0x00FFFFFFu);
    for (int& s : p.shade) s = 255;
    p.screenVertex(0, 100, -400, 2);
    p.screenVertex(1, 400, 100, 2);
    p.screenVertex(2, 100, 200, 2);
    driver->drawTexturedShaded(p.get(), &frame.bitmap, 1);
    EXPECT_EQ(changedPixels(), 0u);

    p.screenVertex(0, 100, 10, 2);
    p.screenVertex(1, 400, 100, 2);
    p.screenVertex(2, 100, 600, 2);
    driver->drawTexturedShaded(p.get(), &frame.bitmap, 1);
    EXPECT_NE(frame.at(150, 50), kBackground);
    EXPECT_EQ(frame.at(150, 150), kBackground);  // lower half: 500 rows
}

TEST_F(AffineFillers, SpriteAddsAScaledPictureUnlessItsCentreIsHidden) {
    Bitmap picture(64, 64);
    for (int i = 0; i < 64 * 64; ++i) picture.pixels[i] = 0x00010101u * static_cast<uint32_t>(i % 64);
    SpriteRecord sprite;
    sprite.picture = &picture;
    sprite.sizeX = 1.0;
    sprite.sizeY = 0.25;
    sprite.z = 4;  // 128 x 32 pixels around the centre of the frame
    frame.memory.fill(0);
    driver->drawSprite(&sprite, &frame.bitmap, 1);
    EXPECT_EQ(frame.at(192, 176), 0u);
    EXPECT_EQ(frame.at(193, 177), 0u);
    EXPECT_EQ(frame.at(192 + 2, 176), 0x00010101u);  // two pixels per texel across
    EXPECT_EQ(frame.at(319, 207), 0x003F3F3Fu);
    EXPECT_EQ(frame.at(320, 207), 0u);
    EXPECT_EQ(frame.at(319, 208), 0u);
    for (size_t i = 0; i < driver.depth.size(); ++i) ASSERT_EQ(driver.depth[i], 0.0f);

    frame.memory.fill(0);
    driver.depthAt(256, 192) = 1.5f;  // nearer than 1 + 1/4
    driver->drawSprite(&sprite, &frame.bitmap, 1);
    EXPECT_EQ(frame.at(319, 207), 0u);
}

// A target narrower than 170 pixels gets one white dot, where its key passes; a 256-wide
// picture cut at a negative left and top starts at the texel the cut skipped.
TEST_F(AffineFillers, SpriteOnANarrowTargetAndAWidePictureCutAtTheTopLeft) {
    GuardedFrame narrow(100, 80);
    Bitmap picture(256, 256);
    for (uint32_t v = 0; v < 256; ++v)
        for (uint32_t u = 0; u < 256; ++u) picture.pixels[v * 256 + u] = v << 8 | u;
    SpriteRecord sprite;
    sprite.picture = &picture;
    sprite.sizeX = sprite.sizeY = 2;
    sprite.x = 1;
    sprite.y = 0.5;
    sprite.z = 4;  // centre (25 + 50, 40 - 12), key 1.25
    narrow.memory.fill(kBackground);
    driver.depth[28 * 100 + 75] = 1.5f;  // indexed with the target's width
    driver->drawSprite(&sprite, &narrow.bitmap, 1);
    for (size_t i = 0; i < narrow.memory.size(); ++i) ASSERT_EQ(narrow.memory[i], kBackground) << i;
    driver.depth[28 * 100 + 75] = 1.25f;
    driver->drawSprite(&sprite, &narrow.bitmap, 1);
    EXPECT_EQ(narrow.at(75, 28), 0x00FFFFFFu);
    narrow.at(75, 28) = kBackground;
    for (size_t i = 0; i < narrow.memory.size(); ++i) ASSERT_EQ(narrow.memory[i], kBackground) << i;

    // 256 x 256 on screen, one texel a pixel, with its left edge at -100 and its top at -50.
    sprite.x = -228.0 / 128;
    sprite.y = 114.0 / 128;
    frame.memory.fill(0);
    driver->drawSprite(&sprite, &frame.bitmap, 1);
    EXPECT_EQ(frame.at(0, 0), 50u << 8 | 100u);
    EXPECT_EQ(frame.at(1, 0), 50u << 8 | 101u);
    EXPECT_EQ(frame.at(0, 1), 51u << 8 | 100u);
    EXPECT_EQ(frame.at(155, 205), 255u << 8 | 255u);
    EXPECT_EQ(frame.at(156, 0), 0u);
    EXPECT_EQ(frame.at(0, 206), 0u);
}

}  // namespace
