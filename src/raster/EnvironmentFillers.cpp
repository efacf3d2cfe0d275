// Affine fill operations with an environment texture: drawImageEnv, drawBumpEnv and
// drawImageBumpEnv. All three draw in mode 0 only and store the key.
#include "core/Bitmap.h"
#include "raster/AffineWalk.h"
#include "raster/PixelOperators.h"
#include "raster/RenderDriver.h"
#include "raster/RenderPolygon.h"

namespace {

// The environment texel displaced by the bump texel: five times its red byte across,
// five times its blue byte down.
inline uint32_t bumpedEnvironment(const uint32_t* bumpMap, const uint32_t* envMap, int32_t bu, int32_t bv,
                                  int32_t eu, int32_t ev) {
    const uint32_t bump = bumpMap[texelIndex(bu, bv)];
    const uint32_t du = 5u * ((bump >> 16) & 255u);
    const uint32_t dv = 5u * (bump & 255u);
    const uint32_t column = ((static_cast<uint32_t>(eu) >> 16) + du) & 255u;
    const uint32_t row = ((static_cast<uint32_t>(ev) >> 16) + dv) & 255u;
    return envMap[row * 256u + column];
}

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

// Quantities: bump u, v, environment u, v, image u, v.
struct ImageBumpEnv {
    const uint32_t* bumpMap;
    const uint32_t* envMap;
    const uint32_t* image;
    void operator()(uint32_t& pixel, float& depth, float key, const Quantities<6>& q) const {
        const uint32_t environment = bumpedEnvironment(bumpMap, envMap, q[0], q[1], q[2], q[3]);
        pixel = saturatingAdd(image[texelIndex(q[4], q[5])], environment);
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
    fillAffineTriangle(coordinateTriangle<6>(polygon->points, sets), where,
                       ImageBumpEnv{polygon->bumpMap, polygon->envMap, polygon->image});
}
