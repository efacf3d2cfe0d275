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

// A frame (512 x 384 unless given) in guarded memory, seen as a Bitmap.
struct GuardedFrame {
    GuardedBuffer<uint32_t> memory;
    Bitmap bitmap;
    explicit GuardedFrame(int32_t width = kFrameWidth, int32_t height = kFrameHeight)
        : memory(static_cast<size_t>(width) * static_cast<size_t>(height)) {
        bitmap.pixels = memory.data();
        bitmap.width = width;
        bitmap.height = height;
    }
    ~GuardedFrame() { bitmap.pixels = nullptr; }
    uint32_t& at(int32_t x, int32_t y) { return memory[static_cast<size_t>(y) * bitmap.width + x]; }
};

// A driver (512 x 384 unless given) whose depth buffer is guarded memory (cleared to 0.0).
struct GuardedDriver {
    Bitmap size;
    NewRenderDriver* driver;
    GuardedBuffer<float> depth;
    float* ownDepth;
    explicit GuardedDriver(int32_t width = kFrameWidth, int32_t height = kFrameHeight)
        : depth(static_cast<size_t>(width) * static_cast<size_t>(height)) {
        size.width = width;
        size.height = height;
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
    float& depthAt(int32_t x, int32_t y) { return depth[static_cast<size_t>(y) * size.width + x]; }
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

    // For a target of the given size (the frame's unless given).
    void screenVertex(int i, float xs, float ys, float z, int32_t width = kFrameWidth, int32_t height = kFrameHeight) {
        points[i] = (xs - static_cast<float>(width / 2)) * z / static_cast<float>(width);
        points[3 + i] = (static_cast<float>(height / 2) - ys) * z / static_cast<float>(width);
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
