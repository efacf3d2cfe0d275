#pragma once
#include <cstddef>
#include <cstdint>

// A run of texture coordinates across the screen in 16.16 fixed point. Coordinates wrap
// as unsigned values and only bits 16-23 of each select a texel, so a 256 x 256 texture
// tiles in both directions.
struct TextureSpan {
    uint32_t u;
    uint32_t v;
    uint32_t du;
    uint32_t dv;
};

// out[i] = texels[(v >> 16 & 0xFF) << 8 | (u >> 16 & 0xFF)], stepping the span once per
// pixel; the span is left just past the last sample. The build's backend
// (TextureSpanSse2.cpp, TextureSpanNeon.cpp or TextureSpanGeneric.cpp) computes four indices
// at a time where it can.
void sampleSpan(uint32_t* out, size_t count, TextureSpan& span, const uint32_t* texels);
// Plain reference of sampleSpan.
void sampleSpanScalar(uint32_t* out, size_t count, TextureSpan& span, const uint32_t* texels);
