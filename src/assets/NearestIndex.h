#pragma once
#include <cstdint>

// Source index for destination index i in a nearest-neighbour resample with a
// single-precision step (source size / destination size), truncated as the pictures
// have always been scaled. Clamped to the last source index, which a rounded-up step
// could otherwise pass on very large sizes.
inline int32_t nearestIndex(float step, int32_t i, int32_t sourceSize) {
    int32_t index = static_cast<int32_t>(step * static_cast<float>(i));
    return index < sourceSize ? index : sourceSize - 1;
}
