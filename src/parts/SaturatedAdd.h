#pragma once
#include <cstddef>
#include <cstdint>

// dst[i] += src[i] on each of the four bytes, saturating at 255.
void addSaturated(uint32_t* dst, const uint32_t* src, size_t count);
// Plain reference of addSaturated, one byte at a time.
void addSaturatedScalar(uint32_t* dst, const uint32_t* src, size_t count);
