#pragma once
#include <cstdint>

#include "core/Truncate.h"

// Integer helpers of the fill operations. Coordinates of far off-screen or degenerate
// triangles can leave the 32-bit range; these keep such cases defined (they wrap, as the
// machine arithmetic does) while giving the exact results for every value in range.

// A float as signed 16.16: trunc(value * 65536). The scaling is exact.
inline int32_t toFixed16(float value) { return truncateOrIntMin(value * 65536.0f); }

inline int32_t wrapAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

// (to - from) / count, truncating toward zero; 0 when count is 0.
inline int32_t stepOver(int32_t from, int32_t to, int64_t count) {
    if (count == 0) return 0;
    return static_cast<int32_t>(static_cast<uint32_t>((static_cast<int64_t>(to) - from) / count));
}

// from + count * step, as count repeated wrapping additions would give it.
inline int32_t advanceBy(int32_t from, int32_t step, int64_t count) {
    uint64_t offset = static_cast<uint64_t>(step) * static_cast<uint64_t>(count);
    return static_cast<int32_t>(static_cast<uint32_t>(from) + static_cast<uint32_t>(offset));
}
