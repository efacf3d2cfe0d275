#include "raster/EnvironmentSpans.h"

void fillImageBumpEnvSpanPlain(const AffineTarget& target, const AffineSpan<6>& span, const ImageBumpEnv& rule) {
    fillAffineSpan(target, span, rule);
}

// The quantities stay in locals: the rule's array argument would keep them in memory, and
// most spans of the 3D part are only a few pixels wide.
void fillImageBumpEnvColumns(const AffineTarget& target, const AffineSpan<6>& span, const ImageBumpEnv& rule) {
    uint32_t* pixels = target.pixels + span.rowStart;
    float* depth = target.depth + span.rowStart;
    float inverseZ = span.inverseZ;
    int32_t bu = span.q[0], bv = span.q[1], eu = span.q[2], ev = span.q[3], iu = span.q[4], iv = span.q[5];
    for (int32_t x = span.xl; x < span.xr; ++x) {
        const float key = depthKey(target.stamp, inverseZ);
        if (key > depth[x]) {
            const uint32_t environment = bumpedEnvironment(rule.bumpMap, rule.envMap, bu, bv, eu, ev);
            pixels[x] = saturatingAdd(rule.image[texelIndex(iu, iv)], environment);
            depth[x] = key;
        }
        inverseZ += span.inverseZStep;
        bu = wrapAdd(bu, span.qStep[0]);
        bv = wrapAdd(bv, span.qStep[1]);
        eu = wrapAdd(eu, span.qStep[2]);
        ev = wrapAdd(ev, span.qStep[3]);
        iu = wrapAdd(iu, span.qStep[4]);
        iv = wrapAdd(iv, span.qStep[5]);
    }
}
