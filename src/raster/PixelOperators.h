#pragma once
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Per-pixel operators of the fill operations. Each works on all four bytes of the pixel,
// bits 24-31 included. The plain versions are the reference; on SSE2 machines the
// packed-byte versions below them are the ones the spans use.

inline uint32_t saturatingAddReference(uint32_t d, uint32_t s) {
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        uint32_t sum = ((d >> shift) & 255u) + ((s >> shift) & 255u);
        result |= (sum > 255u ? 255u : sum) << shift;
    }
    return result;
}

// Per byte max(0, s - g).
inline uint32_t saturatingSubtractReference(uint32_t s, uint32_t g) {
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        uint32_t a = (s >> shift) & 255u, b = (g >> shift) & 255u;
        result |= (a > b ? a - b : 0u) << shift;
    }
    return result;
}

// Per byte (level * d + (255 - level) * s) >> 8, without rounding.
inline uint32_t levelBlendReference(uint32_t d, uint32_t s, uint32_t level) {
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        uint32_t mixed = (level * ((d >> shift) & 255u) + (255u - level) * ((s >> shift) & 255u)) >> 8;
        result |= mixed << shift;
    }
    return result;
}

inline uint32_t halfBlend(uint32_t d, uint32_t s) {
    return ((d >> 1) & 0x7f7f7f7fu) + ((s >> 1) & 0x7f7f7f7fu);
}

// Colour bytes scaled by intensities / 256; bits 24-31 become 0.
inline uint32_t modulate(uint32_t s, int32_t red, int32_t green, int32_t blue) {
    uint32_t r = (((s >> 16) & 255u) * static_cast<uint32_t>(red)) >> 8;
    uint32_t g = (((s >> 8) & 255u) * static_cast<uint32_t>(green)) >> 8;
    uint32_t b = ((s & 255u) * static_cast<uint32_t>(blue)) >> 8;
    return (r << 16) | (g << 8) | b;
}

#if defined(__SSE2__)

inline uint32_t saturatingAdd(uint32_t d, uint32_t s) {
    __m128i sum = _mm_adds_epu8(_mm_cvtsi32_si128(static_cast<int>(d)), _mm_cvtsi32_si128(static_cast<int>(s)));
    return static_cast<uint32_t>(_mm_cvtsi128_si32(sum));
}

inline uint32_t saturatingSubtract(uint32_t s, uint32_t g) {
    __m128i difference = _mm_subs_epu8(_mm_cvtsi32_si128(static_cast<int>(s)), _mm_cvtsi32_si128(static_cast<int>(g)));
    return static_cast<uint32_t>(_mm_cvtsi128_si32(difference));
}

// The bytes widened to 16-bit lanes: 255 * 255 still fits, so no lane overflows.
inline uint32_t levelBlend(uint32_t d, uint32_t s, uint32_t level) {
    const __m128i zero = _mm_setzero_si128();
    __m128i dw = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(d)), zero);
    __m128i sw = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(s)), zero);
    __m128i weighted = _mm_add_epi16(_mm_mullo_epi16(dw, _mm_set1_epi16(static_cast<short>(level))),
                                     _mm_mullo_epi16(sw, _mm_set1_epi16(static_cast<short>(255u - level))));
    return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(_mm_srli_epi16(weighted, 8), zero)));
}

#else

inline uint32_t saturatingAdd(uint32_t d, uint32_t s) { return saturatingAddReference(d, s); }
inline uint32_t saturatingSubtract(uint32_t s, uint32_t g) { return saturatingSubtractReference(s, g); }
inline uint32_t levelBlend(uint32_t d, uint32_t s, uint32_t level) { return levelBlendReference(d, s, level); }

#endif
