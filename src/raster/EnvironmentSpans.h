#pragma once
#include <cstdint>

#include "raster/AffineWalk.h"
#include "raster/PixelOperators.h"

// The pixel rule and span loops of the image + bump + environment fill operation, the
// hottest row of the 3D part. Quantities: bump u, v, environment u, v, image u, v.

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

// The plain loop: one pixel at a time, as every affine span. The reference.
void fillImageBumpEnvSpanPlain(const AffineTarget& target, const AffineSpan<6>& span, const ImageBumpEnv& rule);
// The same loop written out for speed: what the backends use for short spans and tails.
void fillImageBumpEnvColumns(const AffineTarget& target, const AffineSpan<6>& span, const ImageBumpEnv& rule);
// The build's backend (EnvironmentSpansSse2.cpp, EnvironmentSpansNeon.cpp or
// EnvironmentSpansGeneric.cpp): four pixels at a time where it can. The same results: the
// keys come from the same float additions in the same order, the integer quantities step
// exactly, and the texel arithmetic is the same per lane.
void fillImageBumpEnvSpan(const AffineTarget& target, const AffineSpan<6>& span, const ImageBumpEnv& rule);
