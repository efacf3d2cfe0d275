#pragma once
#include <cstdint>

// What every fill operation does before it scan-converts: projection, trivial reject,
// back-face rule, vertex order, depth key and texel addressing. `points` is the
// RenderPolygon layout x0 x1 x2 y0 y1 y2 z0 z1 z2.

// Replaces x and y of the three vertices by screen coordinates. The width is the focal
// length on both axes, so x / z = +-0.5 lands on the left and right edges.
void projectToScreen(float* points, int32_t width, int32_t height);

// True when all three projected vertices lie beyond one side of the target. Strict
// comparisons: vertices exactly on x = width are not rejected here.
bool triviallyRejected(const float* points, int32_t width, int32_t height);

// Projects in place and returns false when the triangle is trivially rejected or a
// projected coordinate is not finite.
bool projectAndAccept(float* points, int32_t width, int32_t height);

// True for triangles whose vertices run counter-clockwise on screen (y down).
// Zero-area triangles are kept.
bool facesAway(const float* points);

// Vertex indices in order of screen y, equal y keeping their relative order.
struct VertexOrder {
    int a, b, c;
};
VertexOrder orderByScreenY(const float* points);

// Nearest texel of a 256 x 256 texture for 16.16 coordinates, wrapping both ways.
// Only bits 16-23 matter, so the unsigned shift gives the arithmetic shift's texel.
inline uint32_t texelIndex(int32_t u, int32_t v) {
    return ((static_cast<uint32_t>(v) >> 16) & 255u) * 256u + ((static_cast<uint32_t>(u) >> 16) & 255u);
}

// Keys of a frame lie in (stamp, stamp + 1) since 1/z < 1 past the near plane.
inline float depthKey(float stamp, float inverseZ) { return stamp + inverseZ; }
