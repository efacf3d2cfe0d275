// The backend without SIMD: the rows are the scalar references.
#include "core/PixelOps.h"

void addRow(uint32_t* dst, const uint32_t* src, size_t count) { addRowScalar(dst, src, count); }

void blendRow(uint32_t* out, const uint32_t* a, const uint32_t* b, size_t count, uint32_t alpha) {
    blendRowScalar(out, a, b, count, alpha);
}
