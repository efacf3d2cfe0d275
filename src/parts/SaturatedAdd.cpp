#include "parts/SaturatedAdd.h"

#include <emmintrin.h>

void addSaturated(uint32_t* dst, const uint32_t* src, size_t count) {
    size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
        __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_adds_epu8(d, s));
    }
    addSaturatedScalar(dst + i, src + i, count - i);
}

void addSaturatedScalar(uint32_t* dst, const uint32_t* src, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        uint32_t sum = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            uint32_t byte = ((dst[i] >> shift) & 0xFF) + ((src[i] >> shift) & 0xFF);
            sum |= (byte > 0xFF ? 0xFFu : byte) << shift;
        }
        dst[i] = sum;
    }
}
