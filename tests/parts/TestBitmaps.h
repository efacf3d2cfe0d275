#pragma once
#include <cstdint>
#include <memory>
#include <random>

#include "core/Bitmap.h"
#include "parts/FrameFill.h"

inline std::unique_ptr<Bitmap> solidBitmap(int32_t width, int32_t height, uint32_t colour) {
    auto bitmap = std::make_unique<Bitmap>(width, height);
    fillBitmap(bitmap.get(), colour);
    return bitmap;
}

inline uint32_t pixelAt(const Bitmap& bitmap, int32_t x, int32_t y) { return bitmap.pixels[x + y * bitmap.width]; }

// Random pixels with bytes biased to 0x00 and 0xFF, where saturation and carries go wrong.
inline uint32_t biasedRandomPixel(std::mt19937& random) {
    uint32_t pixel = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        uint32_t pick = random() % 4;
        uint32_t byte = pick == 0 ? 0x00 : pick == 1 ? 0xFF : random() & 0xFF;
        pixel |= byte << shift;
    }
    return pixel;
}
