// Affine fill operations with one image texture: drawTextured, drawTranspMapped and
// drawTexturedShaded. Quantities 0 and 1 are the image u and v.
#include "core/Bitmap.h"
#include "raster/AffineWalk.h"
#include "raster/PixelOperators.h"
#include "raster/RenderDriver.h"
#include "raster/RenderPolygon.h"

namespace {

struct TexturedOpaque {
    const uint32_t* image;
    void operator()(uint32_t& pixel, float& depth, float key, const Quantities<2>& q) const {
        pixel = image[texelIndex(q[0], q[1])];
        depth = key;
    }
};

struct TexturedAdditive {
    const uint32_t* image;
    void operator()(uint32_t& pixel, float&, float, const Quantities<2>& q) const {
        pixel = saturatingAdd(pixel, image[texelIndex(q[0], q[1])]);
    }
};

struct TexturedHalfBlend {
    const uint32_t* image;
    void operator()(uint32_t& pixel, float&, float, const Quantities<2>& q) const {
        pixel = halfBlend(pixel, image[texelIndex(q[0], q[1])]);
    }
};

struct TexturedLevelBlend {
    const uint32_t* image;
    uint32_t level;
    void operator()(uint32_t& pixel, float&, float, const Quantities<2>& q) const {
        pixel = levelBlend(pixel, image[texelIndex(q[0], q[1])], level);
    }
};

// The blue byte of the transparency texel is the level: 250 and above keep the pixel.
struct TransparencyMapped {
    const uint32_t* image;
    const uint32_t* transparency;
    void operator()(uint32_t& pixel, float&, float, const Quantities<2>& q) const {
        const uint32_t index = texelIndex(q[0], q[1]);
        const uint32_t level = transparency[index] & 255u;
        if (level >= 250) return;
        pixel = level == 0 ? image[index] : levelBlend(pixel, image[index], level);
    }
};

// Quantities 2 to 4: the red, green and blue intensities in 16.16.
struct TexturedShadedOpaque {
    const uint32_t* image;
    void operator()(uint32_t& pixel, float& depth, float key, const Quantities<5>& q) const {
        pixel = modulate(image[texelIndex(q[0], q[1])], q[2] >> 16, q[3] >> 16, q[4] >> 16);
        depth = key;
    }
};

AffineTriangle<2> imageTriangle(const RenderPolygon* polygon) {
    const float* coords = polygon->imageCoords;
    return makeAffineTriangle<2>(polygon->points,
                                 [coords](int vertex, int k) { return fixedCoordinate(coords, vertex, k); });
}

}  // namespace

void NewRenderDriver::drawTextured(RenderPolygon* polygon, Bitmap* target, int32_t stamp) {
    if (!projectAndAccept(polygon->points, width, height)) return;
    // Only opaque polygons are one-sided.
    if (polygon->mode == BlendMode::Opaque && facesAway(polygon->points)) return;
    const uint8_t level = polygon->level;
    const bool opaque = polygon->mode == BlendMode::Opaque || (polygon->mode != BlendMode::Additive && level == 0);
    if (!opaque && polygon->mode != BlendMode::Additive && level == 255) return;
    const AffineTarget where{target->pixels, depthBuffer, width, height, static_cast<float>(stamp)};
    const AffineTriangle<2> triangle = imageTriangle(polygon);
    const uint32_t* image = polygon->image;
    if (opaque) fillAffineTriangle(triangle, where, TexturedOpaque{image});
    else if (polygon->mode == BlendMode::Additive) fillAffineTriangle(triangle, where, TexturedAdditive{image});
    else if (level == 127 || level == 128) fillAffineTriangle(triangle, where, TexturedHalfBlend{image});
    else fillAffineTriangle(triangle, where, TexturedLevelBlend{image, level});
}

void NewRenderDriver::drawTranspMapped(RenderPolygon* polygon, Bitmap* target, int32_t stamp) {
    if (!projectAndAccept(polygon->points, width, height)) return;
    const AffineTarget where{target->pixels, depthBuffer, width, height, static_cast<float>(stamp)};
    const TransparencyMapped rule{polygon->image, polygon->transpMap};
    walkAffineTriangleClippingRows(imageTriangle(polygon), height, affineRowFiller<2>(where, rule));
}

void NewRenderDriver::drawTexturedShaded(RenderPolygon* polygon, Bitmap* target, int32_t stamp) {
    if (!projectAndAccept(polygon->points, width, height)) return;
    if (polygon->mode != BlendMode::Opaque) return;
    const float* coords = polygon->imageCoords;
    const int32_t* shade = polygon->shade;
    const auto triangle = makeAffineTriangle<5>(polygon->points, [coords, shade](int vertex, int k) {
        return k < 2 ? fixedCoordinate(coords, vertex, k) : fixedIntensity(shade, vertex, k - 2);
    });
    // Halves taller than the target are not walked.
    if (rowsBetween(triangle.top, triangle.mid) > height) return;
    const bool walkLowerHalf = rowsBetween(triangle.mid, triangle.bottom) <= height;
    const AffineTarget where{target->pixels, depthBuffer, width, height, static_cast<float>(stamp)};
    fillAffineTriangle(triangle, where, TexturedShadedOpaque{polygon->image}, walkLowerHalf);
}
