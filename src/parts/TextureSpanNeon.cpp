// The NEON backend of the texture span: four indices at a time, the texels fetched one by
// one (NEON has no gather).
#include <arm_neon.h>

#include "parts/TextureSpan.h"

void sampleSpan(uint32_t* out, size_t count, TextureSpan& span, const uint32_t* texels) {
    if (count < 4) return sampleSpanScalar(out, count, span, texels);
    const uint32_t u = span.u, v = span.v, du = span.du, dv = span.dv;
    const uint32_t firstU[4] = {u, u + du, u + 2 * du, u + 3 * du};
    const uint32_t firstV[4] = {v, v + dv, v + 2 * dv, v + 3 * dv};
    uint32x4_t us = vld1q_u32(firstU), vs = vld1q_u32(firstV);
    const uint32x4_t uStep = vdupq_n_u32(4 * du), vStep = vdupq_n_u32(4 * dv);
    const uint32x4_t rowMask = vdupq_n_u32(0xFF00), columnMask = vdupq_n_u32(0xFF);
    size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const uint32x4_t index =
            vorrq_u32(vandq_u32(vshrq_n_u32(vs, 8), rowMask), vandq_u32(vshrq_n_u32(us, 16), columnMask));
        out[i] = texels[vgetq_lane_u32(index, 0)];
        out[i + 1] = texels[vgetq_lane_u32(index, 1)];
        out[i + 2] = texels[vgetq_lane_u32(index, 2)];
        out[i + 3] = texels[vgetq_lane_u32(index, 3)];
        us = vaddq_u32(us, uStep);
        vs = vaddq_u32(vs, vStep);
    }
    span.u = vgetq_lane_u32(us, 0);
    span.v = vgetq_lane_u32(vs, 0);
    sampleSpanScalar(out + i, count - i, span, texels);
}
