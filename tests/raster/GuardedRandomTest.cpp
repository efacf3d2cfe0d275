#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "RasterTestSupport.h"

// Thousands of seeded random triangles, many far off screen, huge, degenerate or behind the
// camera, thrown at every fill operation with frame, depth buffer and textures between
// inaccessible pages: one pixel written or read too far ends the test with a fault.

namespace {

using FillOperation = void (NewRenderDriver::*)(RenderPolygon*, Bitmap*, int32_t);

struct NamedOperation {
    const char* name;
    FillOperation operation;
    bool affine;  // affine fillers never write the last column
};

const NamedOperation kOperations[] = {
    {"drawFlat", &NewRenderDriver::drawFlat, true},
    {"drawTextured", &NewRenderDriver::drawTextured, true},
    {"drawImageEnv", &NewRenderDriver::drawImageEnv, true},
    {"drawTranspMapped", &NewRenderDriver::drawTranspMapped, true},
    {"drawBumpEnv", &NewRenderDriver::drawBumpEnv, true},
    {"drawImageBumpEnv", &NewRenderDriver::drawImageBumpEnv, true},
    {"drawTexturedShaded", &NewRenderDriver::drawTexturedShaded, true},
    {"drawShaded", &NewRenderDriver::drawShaded, true},
    {"drawPerspective", &NewRenderDriver::drawPerspective, false},
    {"drawPerspectiveKeyed", &NewRenderDriver::drawPerspectiveKeyed, false},
    {"drawPerspectiveNoDepth", &NewRenderDriver::drawPerspectiveNoDepth, false},
    {"drawPerspectiveFogNoDepth", &NewRenderDriver::drawPerspectiveFogNoDepth, false},
    {"drawPerspectiveFog", &NewRenderDriver::drawPerspectiveFog, false},
};

constexpr uint32_t kSentinel = 0x5A5A5A5Au;

class RandomTriangles {
public:
    explicit RandomTriangles(uint32_t seed) : random_(seed) {}

    float uniform(float low, float high) { return std::uniform_real_distribution<float>(low, high)(random_); }
    uint32_t below(uint32_t n) { return static_cast<uint32_t>(random_() % n); }

    float screenX() { return screenCoordinate(-300, 812); }
    float screenY() { return screenCoordinate(-300, 684); }

    float depth() {
        switch (below(10)) {
            case 0: return uniform(-50, -0.01f);  // behind the camera: the clip would have cut it
            case 1: return uniform(1e-4f, 0.05f);
            default: return uniform(1, 500);
        }
    }

    float coordinate() {
        switch (below(8)) {
            case 0: return uniform(-1e7f, 1e7f);  // beyond the 16.16 range
            case 1: return uniform(-0.5f, 0.5f);
            default: return uniform(-2000, 2000);
        }
    }

    uint32_t pixel() {
        const uint32_t pick = below(4);
        return pick == 0 ? 0u : pick == 1 ? 0xFFFFFFFFu : static_cast<uint32_t>(random_());
    }

    void fill(TestPolygon& p) {
        // Occasionally a vertex repeats another or all three share a row or a column.
        float xs[3], ys[3];
        for (int i = 0; i < 3; ++i) {
            xs[i] = screenX();
            ys[i] = screenY();
        }
        if (below(10) == 0) xs[2] = xs[below(2)];
        if (below(10) == 0) ys[1] = ys[2] = ys[0];
        for (int i = 0; i < 3; ++i) p.screenVertex(i, xs[i], ys[i], depth());
        for (float* coords : {p.imageCoords, p.envCoords, p.bumpCoords})
            for (int k = 0; k < 6; ++k) coords[k] = coordinate();
        for (int32_t& s : p.shade) s = below(16) == 0 ? static_cast<int32_t>(random_()) : static_cast<int32_t>(below(256));
        static const uint8_t modes[] = {0, 0, 8, 36, 3};
        p.polygon.mode = modes[below(5)];
        static const uint8_t levels[] = {0, 127, 128, 255, 17, 200};
        p.polygon.level = levels[below(6)];
        p.polygon.colour = pixel();
    }

private:
    float screenCoordinate(float low, float high) {
        switch (below(12)) {
            case 0: return uniform(-20000, 20000);  // huge or far off screen
            case 1: return std::floor(uniform(low, high)) + 0.5f * static_cast<float>(below(3));
            default: return uniform(low, high);
        }
    }

    std::mt19937 random_;
};

TEST(GuardedRandomTriangles, NoFillOperationTouchesMemoryOutsideItsBuffers) {
    GuardedFrame frame;
    GuardedDriver driver;
    GuardedTexture image, envMap, bumpMap, transpMap;
    driver->fogNear = 0.2f;
    driver->fogFar = 0.01f;
    driver->fogRange = 0.19f;
    for (const NamedOperation& op : kOperations) {
        frame.memory.fill(kSentinel);
        driver.depth.fill(0);
        RandomTriangles random(1000u + static_cast<uint32_t>(&op - kOperations));
        for (GuardedTexture* t : {&image, &envMap, &bumpMap, &transpMap})
            for (int i = 0; i < 65536; ++i) t->texels[i] = random.pixel();
        size_t drawn = 0;
        for (int n = 0; n < 3000; ++n) {
            TestPolygon p;
            random.fill(p);
            p.polygon.image = image.data();
            p.polygon.envMap = envMap.data();
            p.polygon.bumpMap = bumpMap.data();
            p.polygon.transpMap = transpMap.data();
            driver->fogColour = random.below(2) == 0 ? 0u : random.pixel();
            (driver.driver->*op.operation)(p.get(), &frame.bitmap, static_cast<int32_t>(n & 255));
        }
        for (size_t i = 0; i < frame.memory.size(); ++i) drawn += frame.memory[i] != kSentinel ? 1 : 0;
        EXPECT_GT(drawn, 10000u) << op.name;  // the triangles did reach the frame
        if (op.affine) {
            for (int y = 0; y < kFrameHeight; ++y) ASSERT_EQ(frame.at(kFrameWidth - 1, y), kSentinel) << op.name << y;
        }
    }
}

TEST(GuardedRandomTriangles, SpritesStayInsideTheTarget) {
    GuardedFrame frame;
    GuardedDriver driver;
    GuardedBuffer<uint32_t> narrowMemory(100 * 80);
    Bitmap narrow;
    narrow.pixels = narrowMemory.data();
    narrow.width = 100;
    narrow.height = 80;
    GuardedBuffer<uint32_t> wideTexels(256 * 256), smallTexels(64 * 64);
    Bitmap widePicture, smallPicture;
    widePicture.pixels = wideTexels.data();
    widePicture.width = widePicture.height = 256;
    smallPicture.pixels = smallTexels.data();
    smallPicture.width = smallPicture.height = 64;
    wideTexels.fill(0x01010101u);
    smallTexels.fill(0x01010101u);
    frame.memory.fill(0);
    narrowMemory.fill(0);

    RandomTriangles random(77);
    for (int n = 0; n < 20000; ++n) {
        SpriteRecord sprite;
        sprite.picture = random.below(2) == 0 ? &widePicture : &smallPicture;
        sprite.sizeX = random.uniform(0, 50);
        sprite.sizeY = random.uniform(0, 50);
        sprite.x = random.uniform(-100, 100);
        sprite.y = random.uniform(-100, 100);
        sprite.z = random.uniform(-1, 100);
        driver->drawSprite(&sprite, random.below(8) == 0 ? &narrow : &frame.bitmap, n & 255);
    }
    size_t drawn = 0;
    for (size_t i = 0; i < frame.memory.size(); ++i) drawn += frame.memory[i] != 0 ? 1 : 0;
    EXPECT_GT(drawn, 10000u);
    narrow.pixels = nullptr;
    widePicture.pixels = nullptr;
    smallPicture.pixels = nullptr;
}

}  // namespace
