// The NEON backend of the image + bump + environment span: four columns at a time.
#include <arm_neon.h>

#include "raster/EnvironmentSpans.h"

namespace {

// Below this width the set-up of the four lanes costs more than it saves.
constexpr int32_t kFourAtATimeFrom = 8;

// 256 x 256 texel indices of four 16.16 coordinate pairs: ((v >> 16) & 255) * 256 + ((u >> 16) & 255).
inline uint32x4_t texelIndices(uint32x4_t u, uint32x4_t v) {
    return vorrq_u32(vandq_u32(vshrq_n_u32(v, 8), vdupq_n_u32(0xff00)), vandq_u32(vshrq_n_u32(u, 16), vdupq_n_u32(0xff)));
}

// The texels at four indices (no gather in NEON: four loads).
inline uint32x4_t fetch(const uint32_t* texture, uint32x4_t indices) {
    const uint32_t texels[4] = {texture[vgetq_lane_u32(indices, 0)], texture[vgetq_lane_u32(indices, 1)],
                                texture[vgetq_lane_u32(indices, 2)], texture[vgetq_lane_u32(indices, 3)]};
    return vld1q_u32(texels);
}

}  // namespace

void fillImageBumpEnvSpan(const AffineTarget& target, const AffineSpan<6>& span, const ImageBumpEnv& rule) {
    if (span.xr - span.xl < kFourAtATimeFrom) return fillImageBumpEnvColumns(target, span, rule);
    uint32_t* pixels = target.pixels + span.rowStart;
    float* depth = target.depth + span.rowStart;
    const float inverseZStep = span.inverseZStep;
    float inverseZ = span.inverseZ;
    // Lane i holds the quantity at column x + i; four columns on is four wrapping steps.
    uint32x4_t q[6], q4[6];
    for (int k = 0; k < 6; ++k) {
        const int32_t lanes[4] = {span.q[k], advanceBy(span.q[k], span.qStep[k], 1),
                                  advanceBy(span.q[k], span.qStep[k], 2), advanceBy(span.q[k], span.qStep[k], 3)};
        q[k] = vreinterpretq_u32_s32(vld1q_s32(lanes));
        q4[k] = vdupq_n_u32(static_cast<uint32_t>(advanceBy(0, span.qStep[k], 4)));
    }
    const float32x4_t stamp = vdupq_n_f32(target.stamp);
    const uint32x4_t low8 = vdupq_n_u32(0xff);
    int32_t x = span.xl;
    for (; x + 4 <= span.xr; x += 4) {
        // 1/z steps one addition at a time, as the plain loop does.
        const float z0 = inverseZ, z1 = z0 + inverseZStep, z2 = z1 + inverseZStep, z3 = z2 + inverseZStep;
        inverseZ = z3 + inverseZStep;
        const float z[4] = {z0, z1, z2, z3};
        const float32x4_t keys = vaddq_f32(stamp, vld1q_f32(z));
        const float32x4_t oldDepth = vld1q_f32(depth + x);
        const uint32x4_t pass = vcgtq_f32(keys, oldDepth);
        if (vmaxvq_u32(pass) != 0) {
            const uint32x4_t bump = fetch(rule.bumpMap, texelIndices(q[0], q[1]));
            const uint32x4_t red = vandq_u32(vshrq_n_u32(bump, 16), low8);
            const uint32x4_t blue = vandq_u32(bump, low8);
            const uint32x4_t du = vaddq_u32(vshlq_n_u32(red, 2), red);
            const uint32x4_t dv = vaddq_u32(vshlq_n_u32(blue, 2), blue);
            const uint32x4_t column = vandq_u32(vaddq_u32(vshrq_n_u32(q[2], 16), du), low8);
            const uint32x4_t row = vandq_u32(vaddq_u32(vshrq_n_u32(q[3], 16), dv), low8);
            const uint32x4_t environment = fetch(rule.envMap, vorrq_u32(vshlq_n_u32(row, 8), column));
            const uint32x4_t image = fetch(rule.image, texelIndices(q[4], q[5]));
            const uint32x4_t colour =
                vreinterpretq_u32_u8(vqaddq_u8(vreinterpretq_u8_u32(image), vreinterpretq_u8_u32(environment)));
            vst1q_u32(pixels + x, vbslq_u32(pass, colour, vld1q_u32(pixels + x)));
            vst1q_f32(depth + x, vbslq_f32(pass, keys, oldDepth));
        }
        for (int k = 0; k < 6; ++k) q[k] = vaddq_u32(q[k], q4[k]);
    }
    if (x == span.xr) return;
    AffineSpan<6> rest = span;
    rest.xl = x;
    rest.inverseZ = inverseZ;
    for (int k = 0; k < 6; ++k) rest.q[k] = static_cast<int32_t>(vgetq_lane_u32(q[k], 0));
    fillImageBumpEnvColumns(target, rest, rule);
}
