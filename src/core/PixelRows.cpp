#include "core/PixelOps.h"

#include <cstring>

void addRowScalar(uint32_t* dst, const uint32_t* src, size_t count) {
    for (size_t i = 0; i < count; ++i) dst[i] = saturatingAdd(dst[i], src[i]);
}

void blendRowScalar(uint32_t* out, const uint32_t* a, const uint32_t* b, size_t count, uint32_t alpha) {
    for (size_t i = 0; i < count; ++i) out[i] = levelBlend(a[i], b[i], alpha);
}

// The C library's copy already moves whole cache lines with the widest registers the CPU
// has; hand-written SSE2 does not beat it.
void copyRow(uint32_t* dst, const uint32_t* src, size_t count) {
    if (count > 0) std::memmove(dst, src, count * sizeof(uint32_t));
}
