// Affine fill operations with an environment texture: drawImageEnv, drawBumpEnv and
// drawImageBumpEnv. All three draw in mode 0 only and store the key.
#include "core/Bitmap.h"
#include "raster/AffineWalk.h"
#include "raster/EnvironmentSpans.h"
#include "raster/PixelOperators.h"
#include "raster/RenderDriver.h"
#include "raster/RenderPolygon.h"

namespace {

// Quantities: image u, v, environment u, v.
struct ImageEnv {
    const uint32_t* image;
    const uint32_t* envMap;
    void operator()(uint32_t& pixel, float& depth, float key, const Quantities<4>& q) const {
        pixel = saturatingAdd(image[texelIndex(q[0], q[1])], envMap[texelIndex(q[2], q[3])]);
        depth = key;
    }
};

// Quantities: bump u, v, environment u, v.
struct BumpEnv {
    const uint32_t* bumpMap;
    const uint32_t* envMap;
    void operator()(uint32_t& pixel, float& depth, float key, const Quantities<4>& q) const {
        pixel = bumpedEnvironment(bumpMap, envMap, q[0], q[1], q[2], q[3]);
        depth = key;
    }
};

// A triangle whose quantities are the u and v of the given coordinate arrays, in order.
template <int N>
AffineTriangle<N> coordinateTriangle(const float* points, const float* const (&sets)[N / 2]) {
    return makeAffineTriangle<N>(points, [&sets](int vertex, int k) {
        return fixedCoordinate(sets[k / 2], vertex, k % 2);
    });
}

}  // namespace

void NewRenderDriver::drawImageEnv(RenderPolygon* polygon, Bitmap* target, int32_t stamp) {
    if (!projectAndAccept(polygon->points, width, height)) return;
    if (polygon->mode != BlendMode::Opaque) return;
    const AffineTarget where{target->pixels, depthBuffer, width, height, static_cast<float>(stamp)};
    const float* const sets[] = {polygon->imageCoords, polygon->envCoords};
    fillAffineTriangle(coordinateTriangle<4>(polygon->points, sets), where, ImageEnv{polygon->image, polygon->envMap});
}

void NewRenderDriver::drawBumpEnv(RenderPolygon* polygon, Bitmap* target, int32_t stamp) {
    if (!projectAndAccept(polygon->points, width, height)) return;
    if (polygon->mode != BlendMode::Opaque) return;
    const AffineTarget where{target->pixels, depthBuffer, width, height, static_cast<float>(stamp)};
    const float* const sets[] = {polygon->bumpCoords, polygon->envCoords};
    fillAffineTriangle(coordinateTriangle<4>(polygon->points, sets), where, BumpEnv{polygon->bumpMap, polygon->envMap});
}

void NewRenderDriver::drawImageBumpEnv(RenderPolygon* polygon, Bitmap* target, int32_t stamp) {
    if (!projectAndAccept(polygon->points, width, height)) return;
    if (polygon->mode != BlendMode::Opaque) return;
    const AffineTarget where{target->pixels, depthBuffer, width, height, static_cast<float>(stamp)};
    const float* const sets[] = {polygon->bumpCoords, polygon->envCoords, polygon->imageCoords};
    const ImageBumpEnv rule{polygon->bumpMap, polygon->envMap, polygon->image};
    walkAffineTriangle(coordinateTriangle<6>(polygon->points, sets), where.height,
                       [&where, &rule](int32_t y, const AffineEdge<6>& first, const AffineEdge<6>& second) {
                           AffineSpan<6> span;
                           if (setUpAffineSpan(y, first, second, where.width, where.height, span))
                               fillImageBumpEnvSpan(where, span, rule);
                       });
}
