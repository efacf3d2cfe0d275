#pragma once
#include <cstddef>
#include <cstdint>

#include "core/Bitmap.h"
#include "raster/RenderDriver.h"
#include "raster/RenderPolygon.h"
#include "support/GuardedBuffer.h"

// Test helpers for the fill operations: buffers fenced by inaccessible pages, a frame and a
// driver built on them, and a polygon that owns its arrays and is placed in screen space.

constexpr int32_t kFrameWidth = 512;
constexpr int32_t kFrameHeight = 384;

// A 512 x 384 frame in guarded memory, seen as a Bitmap.
struct GuardedFrame {
    GuardedBuffer<uint32_t> memory{static_cast<size_t>(kFrameWidth) * kFrameHeight};
    Bitmap bitmap;
    GuardedFrame() {
        bitmap.pixels = memory.data();
        bitmap.width = kFrameWidth;
        bitmap.height = kFrameHeight;
    }
    ~GuardedFrame() { bitmap.pixels = nullptr; }
    uint32_t& at(int32_t x, int32_t y) { return memory[static_cast<size_t>(y) * kFrameWidth + x]; }
};

// A 512 x 384 driver whose depth buffer is guarded memory (cleared to 0.0).
struct GuardedDriver {
    Bitmap size;
    NewRenderDriver* driver;
    GuardedBuffer<float> depth{static_cast<size_t>(kFrameWidth) * kFrameHeight};
    float* ownDepth;
    GuardedDriver() {
        size.width = kFrameWidth;
        size.height = kFrameHeight;
        driver = new NewRenderDriver(&size);
        ownDepth = driver->depthBuffer;
        driver->depthBuffer = depth.data();
        depth.fill(0.0f);
    }
    ~GuardedDriver() {
        driver->depthBuffer = ownDepth;
        delete driver;
    }
    NewRenderDriver* operator->() { return driver; }
    float& depthAt(int32_t x, int32_t y) { return depth[static_cast<size_t>(y) * kFrameWidth + x]; }
};

// A 256 x 256 texture in guarded memory.
struct GuardedTexture {
    GuardedBuffer<uint32_t> texels{65536};
    explicit GuardedTexture(uint32_t value = 0) { texels.fill(value); }
    uint32_t& at(int column, int row) { return texels[static_cast<size_t>(row) * 256 + column]; }
    uint32_t* data() { return texels.data(); }
    void fill(uint32_t value) { texels.fill(value); }
};

// A polygon with its own arrays. Vertices are given in screen coordinates and a depth;
// with a depth that is a power of two the projection gives the screen values back exactly.
struct TestPolygon {
    float points[9] = {};
    int32_t shade[9] = {};
    float imageCoords[6] = {};
    float envCoords[6] = {};
    float bumpCoords[6] = {};
    RenderPolygon polygon;

    TestPolygon() {
        polygon.points = points;
        polygon.shade = shade;
        polygon.imageCoords = imageCoords;
        polygon.envCoords = envCoords;
        polygon.bumpCoords = bumpCoords;
    }
    TestPolygon(const TestPolygon&) = delete;
    TestPolygon& operator=(const TestPolygon&) = delete;

    void screenVertex(int i, float xs, float ys, float z) {
        points[i] = (xs - kFrameWidth / 2) * z / kFrameWidth;
        points[3 + i] = (kFrameHeight / 2 - ys) * z / kFrameWidth;
        points[6 + i] = z;
    }
    // The same coordinates at all three vertices.
    static void constantCoords(float* coords, float u, float v) {
        for (int i = 0; i < 3; ++i) {
            coords[i] = u;
            coords[3 + i] = v;
        }
    }
    RenderPolygon* get() { return &polygon; }
};
