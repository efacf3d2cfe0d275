#pragma once
#include <cstdint>

#include "core/PixelOps.h"

// The pixel operators of the fill operations: the shared per-byte arithmetic of
// core/PixelOps.h (saturating add and subtract, level and half blend) and the
// modulation by light intensities that only the shaded fillers use.

// Colour bytes scaled by intensities / 256; bits 24-31 become 0.
inline uint32_t modulate(uint32_t s, int32_t red, int32_t green, int32_t blue) {
    const uint32_t r = (((s >> 16) & 255u) * static_cast<uint32_t>(red)) >> 8;
    const uint32_t g = (((s >> 8) & 255u) * static_cast<uint32_t>(green)) >> 8;
    const uint32_t b = ((s & 255u) * static_cast<uint32_t>(blue)) >> 8;
    return (r << 16) | (g << 8) | b;
}
