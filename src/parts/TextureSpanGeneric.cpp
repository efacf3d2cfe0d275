// The backend without SIMD: the span is the scalar reference.
#include "parts/TextureSpan.h"

void sampleSpan(uint32_t* out, size_t count, TextureSpan& span, const uint32_t* texels) {
    sampleSpanScalar(out, count, span, texels);
}
