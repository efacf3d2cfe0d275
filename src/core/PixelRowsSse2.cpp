// The SSE2 backend of the pixel rows (every x86-64 CPU; emscripten maps it onto wasm SIMD).
#include <emmintrin.h>

#include "core/PixelOps.h"

namespace {
// Four pixels a register; unaligned loads and stores cost nothing extra on current CPUs
// and spare us an alignment prologue.
constexpr size_t kPixelsPerVector = 4;

inline __m128i load(const uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void store(uint32_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// (a * alpha + b * inverse) >> 8 for eight bytes widened to 16-bit lanes; the sum is at
// most 255 * 255, so it never wraps a lane.
inline __m128i blendLanes(__m128i a16, __m128i b16, __m128i alpha, __m128i inverse) {
    const __m128i sum = _mm_add_epi16(_mm_mullo_epi16(a16, alpha), _mm_mullo_epi16(b16, inverse));
    return _mm_srli_epi16(sum, 8);
}
} // namespace

void addRow(uint32_t* dst, const uint32_t* src, size_t count) {
    size_t i = 0;
    for (; i + 2 * kPixelsPerVector <= count; i += 2 * kPixelsPerVector) {
        const __m128i lo = _mm_adds_epu8(load(dst + i), load(src + i));
        const __m128i hi = _mm_adds_epu8(load(dst + i + kPixelsPerVector), load(src + i + kPixelsPerVector));
        store(dst + i, lo);
        store(dst + i + kPixelsPerVector, hi);
    }
    for (; i + kPixelsPerVector <= count; i += kPixelsPerVector) store(dst + i, _mm_adds_epu8(load(dst + i), load(src + i)));
    for (; i < count; ++i) dst[i] = saturatingAdd(dst[i], src[i]);
}

void blendRow(uint32_t* out, const uint32_t* a, const uint32_t* b, size_t count, uint32_t alpha) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i alpha16 = _mm_set1_epi16(static_cast<short>(alpha));
    const __m128i inverse16 = _mm_set1_epi16(static_cast<short>(255 - alpha));
    size_t i = 0;
    for (; i + kPixelsPerVector <= count; i += kPixelsPerVector) {
        const __m128i va = load(a + i);
        const __m128i vb = load(b + i);
        const __m128i lo = blendLanes(_mm_unpacklo_epi8(va, zero), _mm_unpacklo_epi8(vb, zero), alpha16, inverse16);
        const __m128i hi = blendLanes(_mm_unpackhi_epi8(va, zero), _mm_unpackhi_epi8(vb, zero), alpha16, inverse16);
        store(out + i, _mm_packus_epi16(lo, hi));
    }
    for (; i < count; ++i) out[i] = levelBlend(a[i], b[i], alpha);
}
