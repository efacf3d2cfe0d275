// The perspective-correct fill operations: one image texture, runs of 16 pixels (64 for
// the colour-keyed kinds), optional depth buffer and fog. Each operation keeps its
// per-triangle state in its own static set, so none of them is re-entrant.
#include "core/Bitmap.h"
#include "raster/PerspectiveWalk.h"
#include "raster/RenderDriver.h"
#include "raster/RenderPolygon.h"

namespace {

constexpr int kRunShift = 4;       // runs of 16
constexpr int kKeyedRunShift = 6;  // runs of 64

struct DepthTested {
    static constexpr bool kFogged = false;
    void operator()(uint32_t& pixel, float& depth, float key, uint32_t texel, int32_t) const {
        if (key > depth) {
            pixel = texel;
            depth = key;
        }
    }
};

// Texels of value 0 are holes, but they still occlude what is drawn after them.
struct ColourKeyed {
    static constexpr bool kFogged = false;
    void operator()(uint32_t& pixel, float& depth, float key, uint32_t texel, int32_t) const {
        if (key > depth) {
            if (texel != 0) pixel = texel;
            depth = key;
        }
    }
};

struct Untested {
    static constexpr bool kFogged = false;
    void operator()(uint32_t& pixel, float&, float, uint32_t texel, int32_t) const { pixel = texel; }
};

struct FoggedUntested {
    static constexpr bool kFogged = true;
    FogSettings fog;
    void operator()(uint32_t& pixel, float&, float, uint32_t texel, int32_t amount) const {
        pixel = fog.apply(texel, amount);
    }
};

struct FoggedDepthTested {
    static constexpr bool kFogged = true;
    FogSettings fog;
    void operator()(uint32_t& pixel, float& depth, float key, uint32_t texel, int32_t amount) const {
        if (key > depth) {
            pixel = fog.apply(texel, amount);
            depth = key;
        }
    }
};

PerspectiveState& prepare(PerspectiveState& state, const RenderPolygon* polygon, Bitmap* target, float* depth,
                          int32_t width, int32_t height) {
    state.texture = polygon->image;
    state.pixels = target->pixels;
    state.depth = depth;
    state.width = width;
    state.height = height;
    return state;
}

// Projection, reject and, for the one-sided operations, the back-face rule.
bool visible(RenderPolygon* polygon, int32_t width, int32_t height, bool cull) {
    if (!projectAndAccept(polygon->points, width, height)) return false;
    return !(cull && facesAway(polygon->points));
}

}  // namespace

void NewRenderDriver::drawPerspective(RenderPolygon* polygon, Bitmap* target, int32_t stamp) {
    static PerspectiveState state;
    if (!visible(polygon, width, height, true) || polygon->mode != BlendMode::Opaque) return;
    fillPerspectiveTriangle<kRunShift>(prepare(state, polygon, target, depthBuffer, width, height), polygon->points,
                                       polygon->imageCoords, static_cast<float>(stamp), DepthTested{});
}

void NewRenderDriver::drawPerspectiveKeyed(RenderPolygon* polygon, Bitmap* target, int32_t stamp) {
    static PerspectiveState state;
    if (!visible(polygon, width, height, false)) return;
    fillPerspectiveTriangle<kKeyedRunShift>(prepare(state, polygon, target, depthBuffer, width, height),
                                            polygon->points, polygon->imageCoords, static_cast<float>(stamp),
                                            ColourKeyed{});
}

void NewRenderDriver::drawPerspectiveNoDepth(RenderPolygon* polygon, Bitmap* target, int32_t stamp) {
    static PerspectiveState state;
    if (!visible(polygon, width, height, true)) return;
    fillPerspectiveTriangle<kRunShift>(prepare(state, polygon, target, depthBuffer, width, height), polygon->points,
                                       polygon->imageCoords, static_cast<float>(stamp), Untested{});
}

void NewRenderDriver::drawPerspectiveFogNoDepth(RenderPolygon* polygon, Bitmap* target, int32_t stamp) {
    static PerspectiveState state;
    if (!visible(polygon, width, height, true)) return;
    const FoggedUntested rule{FogSettings{fogNear, fogFar, fogRange, fogColour}};
    fillPerspectiveTriangle<kRunShift>(prepare(state, polygon, target, depthBuffer, width, height), polygon->points,
                                       polygon->imageCoords, static_cast<float>(stamp), rule);
}

void NewRenderDriver::drawPerspectiveFog(RenderPolygon* polygon, Bitmap* target, int32_t stamp) {
    static PerspectiveState state;
    if (!visible(polygon, width, height, true)) return;
    const FoggedDepthTested rule{FogSettings{fogNear, fogFar, fogRange, fogColour}};
    fillPerspectiveTriangle<kRunShift>(prepare(state, polygon, target, depthBuffer, width, height), polygon->points,
                                       polygon->imageCoords, static_cast<float>(stamp), rule);
}
