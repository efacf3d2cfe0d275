// The SSE2 backend of the image + bump + environment span: four columns at a time.
#include <emmintrin.h>

#include "raster/EnvironmentSpans.h"

namespace {

// Below this width the set-up of the four lanes costs more than it saves.
constexpr int32_t kFourAtATimeFrom = 8;

// 256 x 256 texel indices of four 16.16 coordinate pairs: ((v >> 16) & 255) * 256 + ((u >> 16) & 255).
inline __m128i texelIndices(__m128i u, __m128i v) {
    const __m128i column = _mm_and_si128(_mm_srli_epi32(u, 16), _mm_set1_epi32(0xff));
    const __m128i row = _mm_and_si128(_mm_srli_epi32(v, 8), _mm_set1_epi32(0xff00));
    return _mm_or_si128(row, column);
}

// The texels at four indices (no gather in SSE2: four loads).
inline __m128i fetch(const uint32_t* texture, __m128i indices) {
    alignas(16) uint32_t at[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(at), indices);
    return _mm_setr_epi32(static_cast<int32_t>(texture[at[0]]), static_cast<int32_t>(texture[at[1]]),
                          static_cast<int32_t>(texture[at[2]]), static_cast<int32_t>(texture[at[3]]));
}

}  // namespace

void fillImageBumpEnvSpan(const AffineTarget& target, const AffineSpan<6>& span, const ImageBumpEnv& rule) {
    if (span.xr - span.xl < kFourAtATimeFrom) return fillImageBumpEnvColumns(target, span, rule);
    uint32_t* pixels = target.pixels + span.rowStart;
    float* depth = target.depth + span.rowStart;
    const float inverseZStep = span.inverseZStep;
    float inverseZ = span.inverseZ;
    // Lane i holds the quantity at column x + i; four columns on is four wrapping steps.
    __m128i q[6], q4[6];
    for (int k = 0; k < 6; ++k) {
        q[k] = _mm_setr_epi32(span.q[k], advanceBy(span.q[k], span.qStep[k], 1), advanceBy(span.q[k], span.qStep[k], 2),
                              advanceBy(span.q[k], span.qStep[k], 3));
        q4[k] = _mm_set1_epi32(advanceBy(0, span.qStep[k], 4));
    }
    const __m128 stamp = _mm_set1_ps(target.stamp);
    const __m128i low8 = _mm_set1_epi32(0xff);
    int32_t x = span.xl;
    for (; x + 4 <= span.xr; x += 4) {
        // 1/z steps one addition at a time, as the plain loop does.
        const float z0 = inverseZ, z1 = z0 + inverseZStep, z2 = z1 + inverseZStep, z3 = z2 + inverseZStep;
        inverseZ = z3 + inverseZStep;
        const __m128 keys = _mm_add_ps(stamp, _mm_setr_ps(z0, z1, z2, z3));
        const __m128 pass = _mm_cmpgt_ps(keys, _mm_loadu_ps(depth + x));
        if (_mm_movemask_ps(pass) != 0) {
            const __m128i bump = fetch(rule.bumpMap, texelIndices(q[0], q[1]));
            const __m128i red = _mm_and_si128(_mm_srli_epi32(bump, 16), low8);
            const __m128i blue = _mm_and_si128(bump, low8);
            const __m128i du = _mm_add_epi32(_mm_slli_epi32(red, 2), red);
            const __m128i dv = _mm_add_epi32(_mm_slli_epi32(blue, 2), blue);
            const __m128i column = _mm_and_si128(_mm_add_epi32(_mm_srli_epi32(q[2], 16), du), low8);
            const __m128i row = _mm_and_si128(_mm_add_epi32(_mm_srli_epi32(q[3], 16), dv), low8);
            const __m128i environment = fetch(rule.envMap, _mm_or_si128(_mm_slli_epi32(row, 8), column));
            const __m128i image = fetch(rule.image, texelIndices(q[4], q[5]));
            const __m128i colour = _mm_adds_epu8(image, environment);
            const __m128i passBits = _mm_castps_si128(pass);
            __m128i* pixelsAt = reinterpret_cast<__m128i*>(pixels + x);
            const __m128i old = _mm_loadu_si128(pixelsAt);
            _mm_storeu_si128(pixelsAt, _mm_or_si128(_mm_and_si128(passBits, colour), _mm_andnot_si128(passBits, old)));
            const __m128 oldDepth = _mm_loadu_ps(depth + x);
            _mm_storeu_ps(depth + x, _mm_or_ps(_mm_and_ps(pass, keys), _mm_andnot_ps(pass, oldDepth)));
        }
        for (int k = 0; k < 6; ++k) q[k] = _mm_add_epi32(q[k], q4[k]);
    }
    if (x == span.xr) return;
    AffineSpan<6> rest = span;
    rest.xl = x;
    rest.inverseZ = inverseZ;
    for (int k = 0; k < 6; ++k) rest.q[k] = _mm_cvtsi128_si32(q[k]);
    fillImageBumpEnvColumns(target, rest, rule);
}
