#pragma once
#include <cstdint>

// One triangle as the pipeline hands it to a fill operation. Owns nothing.
// points: x0 x1 x2 y0 y1 y2 z0 z1 z2 in camera space; a fill operation overwrites the
// x and y with screen coordinates. Coordinate arrays: u0 u1 u2 v0 v1 v2 in texels.
// Texture pointers are the pixels of 256 x 256 bitmaps.
struct RenderPolygon {
    float* points = nullptr;
    int32_t* shade = nullptr;        // r0 r1 r2 g0 g1 g2 b0 b1 b2, 0..255
    float* imageCoords = nullptr;
    float* envCoords = nullptr;
    float* bumpCoords = nullptr;
    uint32_t* image = nullptr;
    uint32_t* envMap = nullptr;
    uint32_t* bumpMap = nullptr;
    uint32_t* transpMap = nullptr;
    uint32_t colour = 0;
    uint8_t level = 0;               // translucency: 0 opaque, 255 invisible
    uint8_t mode = 0;                // 0 opaque, 8 additive, other translucent
    uint8_t kind = 0;                // selects the fill operation
};

// Result of the near-plane clip: up to two triangles to draw.
struct ClipResult {
    RenderPolygon* first = nullptr;
    RenderPolygon* second = nullptr;
    uint8_t drawFirst = 0;
    uint8_t drawSecond = 0;
};

// Clips `polygon` in place against z = near (a vertex at z = near is in front); `scratch`
// receives a second triangle when the cut leaves a quadrilateral. Positions, the three
// coordinate sets and the shade values are interpolated; coordinate arrays and shade that
// are null on a polygon are left alone, so `scratch` needs its own points, shade and
// coordinate arrays for every set the polygon's kind uses. Not re-entrant per scratch.
ClipResult clipNear(RenderPolygon* polygon, RenderPolygon* scratch, float near);
