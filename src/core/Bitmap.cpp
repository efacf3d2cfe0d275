#include "core/Bitmap.h"

#include <cstdio>
#include <cstring>

Bitmap::Bitmap(int32_t w, int32_t h) : width(w), height(h) {
    size_t count = (w > 0 && h > 0) ? static_cast<size_t>(w) * static_cast<size_t>(h) : 0;
    pixels = new uint32_t[count > 0 ? count : 1]();
}

Bitmap::~Bitmap() {
    delete[] pixels;
    pixels = nullptr;
    std::printf("deallocated internal Bitmap buffer \n");
}

void Bitmap::putPixel(int32_t x, int32_t y, uint32_t value) {
    if (x >= 0 && x < width && y >= 0 && y < height) pixels[x + y * width] = value;
}

// Placeholders until the pixel operations land.
void Bitmap::blend(const Bitmap*, const Bitmap*, int32_t) {}
void Bitmap::scaleInto(Bitmap*) const {}
void Bitmap::copyInto(Bitmap*, int32_t, int32_t) const {}
void Bitmap::addInto(Bitmap*, int32_t, int32_t) const {}
void Bitmap::copyToMemory(uint32_t* memory) const {
    std::memcpy(memory, pixels, sizeof(uint32_t) * static_cast<size_t>(width) * static_cast<size_t>(height));
}
