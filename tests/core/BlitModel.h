#pragma once
// The obvious per-pixel meaning of copyInto and addInto, for comparing against.

#include <cstdint>
#include <vector>

#include "PixelRandom.h"
#include "core/Bitmap.h"

enum class BlitKind { Copy, Add };

inline std::vector<uint32_t> modelBlit(const Bitmap& src, const Bitmap& dst, int32_t x, int32_t y, BlitKind kind) {
    std::vector<uint32_t> out(dst.pixels, dst.pixels + int64_t{dst.width} * dst.height);
    for (int64_t dy = 0; dy < dst.height; ++dy) {
        for (int64_t dx = 0; dx < dst.width; ++dx) {
            const int64_t sx = dx - x, sy = dy - y;
            if (sx < 0 || sy < 0 || sx >= src.width || sy >= src.height) continue;
            const uint32_t s = src.pixels[sx + sy * src.width];
            uint32_t& d = out[dx + dy * dst.width];
            d = kind == BlitKind::Copy ? s : modelAdd(d, s);
        }
    }
    return out;
}

inline void blit(const Bitmap& src, Bitmap& dst, int32_t x, int32_t y, BlitKind kind) {
    if (kind == BlitKind::Copy) src.copyInto(&dst, x, y);
    else src.addInto(&dst, x, y);
}

inline std::vector<uint32_t> contents(const Bitmap& bitmap) {
    return std::vector<uint32_t>(bitmap.pixels, bitmap.pixels + int64_t{bitmap.width} * bitmap.height);
}
