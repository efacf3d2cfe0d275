// The SSE2 backend of the texture span: four indices at a time, the texels fetched one by
// one (SSE2 has no gather).
#include <emmintrin.h>

#include "parts/TextureSpan.h"

void sampleSpan(uint32_t* out, size_t count, TextureSpan& span, const uint32_t* texels) {
    if (count < 4) {
        sampleSpanScalar(out, count, span, texels);
        return;
    }
    const uint32_t u = span.u, v = span.v, du = span.du, dv = span.dv;
    __m128i us = _mm_setr_epi32(static_cast<int>(u), static_cast<int>(u + du), static_cast<int>(u + 2 * du),
                                static_cast<int>(u + 3 * du));
    __m128i vs = _mm_setr_epi32(static_cast<int>(v), static_cast<int>(v + dv), static_cast<int>(v + 2 * dv),
                                static_cast<int>(v + 3 * dv));
    const __m128i uStep = _mm_set1_epi32(static_cast<int>(4 * du));
    const __m128i vStep = _mm_set1_epi32(static_cast<int>(4 * dv));
    const __m128i rowMask = _mm_set1_epi32(0xFF00);
    const __m128i columnMask = _mm_set1_epi32(0xFF);
    alignas(16) uint32_t index[4];
    size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        __m128i rows = _mm_and_si128(_mm_srli_epi32(vs, 8), rowMask);
        __m128i columns = _mm_and_si128(_mm_srli_epi32(us, 16), columnMask);
        _mm_store_si128(reinterpret_cast<__m128i*>(index), _mm_or_si128(rows, columns));
        out[i] = texels[index[0]];
        out[i + 1] = texels[index[1]];
        out[i + 2] = texels[index[2]];
        out[i + 3] = texels[index[3]];
        us = _mm_add_epi32(us, uStep);
        vs = _mm_add_epi32(vs, vStep);
    }
    span.u = static_cast<uint32_t>(_mm_cvtsi128_si32(us));
    span.v = static_cast<uint32_t>(_mm_cvtsi128_si32(vs));
    sampleSpanScalar(out + i, count - i, span, texels);
}
