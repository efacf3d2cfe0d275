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
    uint8_t mode = 0;                // a BlendMode
    uint8_t kind = 0;                // a PolygonKind: selects the fill operation
};

// Values of RenderPolygon::kind. The engine stores a surface's flags there unchanged, so a
// kind is a combination of the surface bits: 1 colour texture, 2 environment, 4 bump,
// 8 transparency, 0x20 texture from the object reader (drawn in perspective), 0x40 colour key.
struct PolygonKind {
    enum : uint8_t {
        Flat = 0,
        Textured = 1,
        EnvironmentTextured = 2,   // the environment alone, drawn as a texture
        ImageEnv = 3,
        BumpEnv = 6,
        ImageBumpEnv = 7,
        TranspMapped = 9,
        EnvTranspMapped = 10,
        Perspective = 33,
        PerspectiveEnv = 34,
        PerspectiveKeyed = 97,
        PerspectiveKeyedEnv = 98,
    };
};

// Values of RenderPolygon::mode: opaque, added with per-byte saturation, or (any other
// value) blended by `level`. The depth sort puts TranslucentFirst polygons before all others.
struct BlendMode {
    enum : uint8_t { Opaque = 0, TranslucentFirst = 1, Additive = 8 };
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
