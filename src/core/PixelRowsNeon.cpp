// The NEON backend of the pixel rows (aarch64, where NEON is always there).
#include <arm_neon.h>

#include "core/PixelOps.h"

namespace {
constexpr size_t kPixelsPerVector = 4;

inline uint8x16_t load(const uint32_t* p) { return vreinterpretq_u8_u32(vld1q_u32(p)); }
inline void store(uint32_t* p, uint8x16_t v) { vst1q_u32(p, vreinterpretq_u32_u8(v)); }

// (a * alpha + b * inverse) >> 8 for eight bytes widened to 16 bits; the sum is at most
// 255 * 255, so it never wraps a lane, and the narrowing shift keeps its high byte.
inline uint8x8_t blendBytes(uint8x8_t a, uint8x8_t b, uint8x8_t alpha, uint8x8_t inverse) {
    return vshrn_n_u16(vmlal_u8(vmull_u8(a, alpha), b, inverse), 8);
}
} // namespace

void addRow(uint32_t* dst, const uint32_t* src, size_t count) {
    size_t i = 0;
    for (; i + kPixelsPerVector <= count; i += kPixelsPerVector) store(dst + i, vqaddq_u8(load(dst + i), load(src + i)));
    for (; i < count; ++i) dst[i] = saturatingAdd(dst[i], src[i]);
}

void blendRow(uint32_t* out, const uint32_t* a, const uint32_t* b, size_t count, uint32_t alpha) {
    const uint8x8_t alpha8 = vdup_n_u8(static_cast<uint8_t>(alpha));
    const uint8x8_t inverse8 = vdup_n_u8(static_cast<uint8_t>(255 - alpha));
    size_t i = 0;
    for (; i + kPixelsPerVector <= count; i += kPixelsPerVector) {
        const uint8x16_t va = load(a + i), vb = load(b + i);
        const uint8x8_t lo = blendBytes(vget_low_u8(va), vget_low_u8(vb), alpha8, inverse8);
        const uint8x8_t hi = blendBytes(vget_high_u8(va), vget_high_u8(vb), alpha8, inverse8);
        store(out + i, vcombine_u8(lo, hi));
    }
    for (; i < count; ++i) out[i] = levelBlend(a[i], b[i], alpha);
}
