#pragma once
#include <cstddef>
#include <cstdint>

// Per-byte pixel arithmetic shared by the bitmap operations, the image effects and the
// rasterisers. Every operator works on all four bytes of a 0xAARRGGBB word alike.

namespace pixelops {
constexpr uint32_t kHighBits = 0x80808080u;
constexpr uint32_t kLowSevenBits = 0x7f7f7f7fu;
constexpr uint32_t kEvenBytes = 0x00ff00ffu;

// Turns the top bit of each byte into a full 0xFF byte (one multiply, no carries between bytes).
inline uint32_t spreadHighBits(uint32_t highBits) { return (highBits >> 7) * 0xffu; }
} // namespace pixelops

// Per byte min(255, a_k + b_k).
inline uint32_t saturatingAdd(uint32_t a, uint32_t b) {
    using namespace pixelops;
    // Add the low seven bits without crossing bytes, then put the top bits back by xor.
    const uint32_t low = (a & kLowSevenBits) + (b & kLowSevenBits);
    const uint32_t sum = low ^ ((a ^ b) & kHighBits);
    // A byte overflowed when both top bits were set, or one was and the low sum carried into it.
    const uint32_t carry = ((a & b) | ((a | b) & ~sum)) & kHighBits;
    return sum | spreadHighBits(carry);
}

// Per byte max(0, s_k - g_k); g is usually a grey (the same value in each colour byte).
inline uint32_t saturatingSubtract(uint32_t s, uint32_t g) {
    using namespace pixelops;
    // Borrowing from a forced top bit keeps each byte's subtraction inside the byte.
    const uint32_t diff = ((s | kHighBits) - (g & kLowSevenBits)) ^ ((s ^ ~g) & kHighBits);
    const uint32_t borrow = ((~s & g) | ((~s | g) & diff)) & kHighBits;
    return diff & ~spreadHighBits(borrow);
}

// Per byte (L * d_k + (255 - L) * s_k) >> 8 with L in 0..255, without rounding. Two bytes
// at a time in 16-bit lanes: 255 * 255 fits in a lane, so nothing spills into the next one.
inline uint32_t levelBlend(uint32_t d, uint32_t s, uint32_t L) {
    using namespace pixelops;
    const uint32_t inverse = 255u - L;
    const uint32_t even = ((d & kEvenBytes) * L + (s & kEvenBytes) * inverse) >> 8;
    const uint32_t odd = ((d >> 8) & kEvenBytes) * L + ((s >> 8) & kEvenBytes) * inverse;
    return (even & kEvenBytes) | (odd & ~kEvenBytes);
}

// Per byte d_k / 2 + s_k / 2, each halved with truncation before the add.
inline uint32_t halfBlend(uint32_t d, uint32_t s) {
    using namespace pixelops;
    return ((d >> 1) & kLowSevenBits) + ((s >> 1) & kLowSevenBits);
}

// Row operations over `count` pixels. The scalar versions are the reference; addRow and
// blendRow are the build's backend (PixelRowsSse2.cpp, PixelRowsNeon.cpp or
// PixelRowsGeneric.cpp, chosen by DEMO_SIMD), which tests hold to the reference bit for bit.
// Each output pixel depends only on the inputs at the same index, so `dst`/`out` may be
// the very same array as a source.

// dst[i] = saturatingAdd(dst[i], src[i]).
void addRowScalar(uint32_t* dst, const uint32_t* src, size_t count);
void addRow(uint32_t* dst, const uint32_t* src, size_t count);
// out[i] = levelBlend(a[i], b[i], alpha) with alpha in 0..255.
void blendRowScalar(uint32_t* out, const uint32_t* a, const uint32_t* b, size_t count, uint32_t alpha);
void blendRow(uint32_t* out, const uint32_t* a, const uint32_t* b, size_t count, uint32_t alpha);

// Plain copy of `count` pixels; the arrays may overlap.
void copyRow(uint32_t* dst, const uint32_t* src, size_t count);
