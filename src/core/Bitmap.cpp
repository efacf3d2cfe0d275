#include "core/Bitmap.h"

#include "core/PixelOps.h"

#include <algorithm>
#include <cstdio>

namespace {
using RowOperation = void (*)(uint32_t* dst, const uint32_t* src, size_t count);

size_t pixelCount(const Bitmap& bitmap) {
    if (bitmap.pixels == nullptr || bitmap.width <= 0 || bitmap.height <= 0) return 0;
    return static_cast<size_t>(bitmap.width) * static_cast<size_t>(bitmap.height);
}

// Shared placement of copyInto and addInto: `src` goes to `dst` with its top-left corner
// at (x, y), clipped to `dst`, one row operation per visible row.
void blitRows(const Bitmap& src, Bitmap& dst, int32_t x, int32_t y, RowOperation rowOperation) {
    if (pixelCount(src) == 0 || pixelCount(dst) == 0) return;

    // Same width at the origin: the rows are contiguous in both, so they go as one run.
    if (x == 0 && y == 0 && src.width == dst.width) {
        const size_t rows = static_cast<size_t>(std::min(src.height, dst.height));
        rowOperation(dst.pixels, src.pixels, static_cast<size_t>(src.width) * rows);
        return;
    }

    // 64-bit bounds: x + width must not wrap for offsets near the int32 limits.
    const int64_t left = std::max<int64_t>(x, 0);
    const int64_t top = std::max<int64_t>(y, 0);
    const int64_t right = std::min<int64_t>(int64_t{x} + src.width, dst.width);
    const int64_t bottom = std::min<int64_t>(int64_t{y} + src.height, dst.height);
    if (left >= right || top >= bottom) return;

    const size_t columns = static_cast<size_t>(right - left);
    for (int64_t row = top; row < bottom; ++row) {
        uint32_t* to = dst.pixels + row * dst.width + left;
        const uint32_t* from = src.pixels + (row - y) * src.width + (left - x);
        rowOperation(to, from, columns);
    }
}
} // namespace

Bitmap::Bitmap(int32_t w, int32_t h) : width(std::max(w, 0)), height(std::max(h, 0)) {
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (count > 0) pixels = new uint32_t[count]();
}

Bitmap::~Bitmap() {
    delete[] pixels;
    pixels = nullptr;
    std::printf("deallocated internal Bitmap buffer \n");
    std::fflush(stdout);
}

void Bitmap::blend(const Bitmap* a, const Bitmap* b, int32_t alpha) {
    const int32_t level = std::clamp(alpha, 0, 255);
    // Sources must match this bitmap's size; a smaller one is never read past its end.
    const size_t count = std::min({pixelCount(*this), pixelCount(*a), pixelCount(*b)});
    blendRow(pixels, a->pixels, b->pixels, count, static_cast<uint32_t>(level));
}

void Bitmap::scaleInto(Bitmap* dst) const {
    if (pixelCount(*this) == 0 || pixelCount(*dst) == 0) return;
    const float rx = static_cast<float>(width) / static_cast<float>(dst->width);
    const float ry = static_cast<float>(height) / static_cast<float>(dst->height);

    // Source columns are the same for every row, so they are worked out once per slice of
    // destination columns. The counters are integers turned into floats: the same values
    // as counting in floats, without stalling once a float can no longer step by one.
    // Source indices are capped to the source's last row and column so that rounding can
    // never reach outside it.
    constexpr int32_t kSlice = 1024;
    int32_t sourceColumn[kSlice];
    for (int32_t sliceStart = 0; sliceStart < dst->width; sliceStart += kSlice) {
        const int32_t sliceEnd = std::min(dst->width, sliceStart + kSlice);
        for (int32_t dx = sliceStart; dx < sliceEnd; ++dx) {
            const auto sx = static_cast<int32_t>(static_cast<float>(dx) * rx);
            sourceColumn[dx - sliceStart] = std::min(sx, width - 1);
        }
        int32_t previousSy = -1;
        for (int32_t dy = 0; dy < dst->height; ++dy) {
            const int32_t sy = std::min(static_cast<int32_t>(static_cast<float>(dy) * ry), height - 1);
            uint32_t* to = dst->pixels + static_cast<size_t>(dy) * static_cast<size_t>(dst->width);
            if (sy == previousSy) {
                // Enlarging repeats source rows: the row above already holds this one.
                copyRow(to + sliceStart, to - dst->width + sliceStart, static_cast<size_t>(sliceEnd - sliceStart));
                continue;
            }
            const uint32_t* from = pixels + static_cast<size_t>(sy) * static_cast<size_t>(width);
            for (int32_t dx = sliceStart; dx < sliceEnd; ++dx) to[dx] = from[sourceColumn[dx - sliceStart]];
            previousSy = sy;
        }
    }
}

void Bitmap::copyInto(Bitmap* dst, int32_t x, int32_t y) const { blitRows(*this, *dst, x, y, copyRow); }

void Bitmap::addInto(Bitmap* dst, int32_t x, int32_t y) const { blitRows(*this, *dst, x, y, addRow); }

void Bitmap::copyToMemory(uint32_t* memory) const { copyRow(memory, pixels, pixelCount(*this)); }

void Bitmap::putPixel(int32_t x, int32_t y, uint32_t value) {
    if (pixels != nullptr && x >= 0 && x < width && y >= 0 && y < height) pixels[x + y * width] = value;
}
