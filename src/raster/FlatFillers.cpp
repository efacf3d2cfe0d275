// Affine fill operations with a flat colour: drawFlat and drawShaded.
#include "core/Bitmap.h"
#include "raster/AffineWalk.h"
#include "raster/PixelOperators.h"
#include "raster/RenderDriver.h"
#include "raster/RenderPolygon.h"

namespace {

struct FlatOpaque {
    uint32_t colour;
    void operator()(uint32_t& pixel, float& depth, float key, const Quantities<0>&) const {
        pixel = colour;
        depth = key;
    }
};

struct FlatAdditive {
    uint32_t colour;
    void operator()(uint32_t& pixel, float&, float, const Quantities<0>&) const {
        pixel = saturatingAdd(pixel, colour);
    }
};

// Quantities: the red, green and blue intensities in 16.16.
struct ShadedOpaque {
    uint32_t colour;
    void operator()(uint32_t& pixel, float& depth, float key, const Quantities<3>& q) const {
        pixel = modulate(colour, q[0] >> 16, q[1] >> 16, q[2] >> 16);
        depth = key;
    }
};

}  // namespace

void NewRenderDriver::drawFlat(RenderPolygon* polygon, Bitmap* target, int32_t stamp) {
    if (!projectAndAccept(polygon->points, width, height)) return;
    if (polygon->mode != BlendMode::Opaque && polygon->mode != BlendMode::Additive) return;
    const AffineTarget where{target->pixels, depthBuffer, width, height, static_cast<float>(stamp)};
    const auto triangle = makeAffineTriangle<0>(polygon->points, [](int, int) { return 0; });
    if (polygon->mode == BlendMode::Opaque) fillAffineTriangle(triangle, where, FlatOpaque{polygon->colour});
    else fillAffineTriangle(triangle, where, FlatAdditive{polygon->colour});
}

void NewRenderDriver::drawShaded(RenderPolygon* polygon, Bitmap* target, int32_t stamp) {
    if (!projectAndAccept(polygon->points, width, height)) return;
    if (polygon->mode != BlendMode::Opaque) return;
    const AffineTarget where{target->pixels, depthBuffer, width, height, static_cast<float>(stamp)};
    const int32_t* shade = polygon->shade;
    const auto triangle = makeAffineTriangle<3>(polygon->points, [shade](int vertex, int k) {
        return fixedIntensity(shade, vertex, k);
    });
    fillAffineTriangle(triangle, where, ShadedOpaque{polygon->colour});
}
