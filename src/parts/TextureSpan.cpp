#include "parts/TextureSpan.h"

namespace {

inline uint32_t texelIndex(uint32_t u, uint32_t v) { return ((v >> 8) & 0xFF00) | ((u >> 16) & 0xFF); }

}  // namespace

void sampleSpanScalar(uint32_t* out, size_t count, TextureSpan& span, const uint32_t* texels) {
    for (size_t i = 0; i < count; ++i) {
        out[i] = texels[texelIndex(span.u, span.v)];
        span.u += span.du;
        span.v += span.dv;
    }
}
