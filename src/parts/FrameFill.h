#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "core/Bitmap.h"

// Sets every pixel of the bitmap to one value.
inline void fillBitmap(Bitmap* bitmap, uint32_t value) {
    std::fill_n(bitmap->pixels, static_cast<size_t>(bitmap->width) * static_cast<size_t>(bitmap->height), value);
}
