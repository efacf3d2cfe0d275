#pragma once
#include <cstdint>

// The one pixel buffer of the system: frame, textures, pictures and work buffers.
// Pixels are 0xAARRGGBB words, row-major, `width` pixels a row with no padding.
// Bits 24-31 are carried by every operation but never shown.
class Bitmap {
public:
    uint32_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;

    // Size-only bitmap: owns nothing; the creator may set width and height by hand.
    Bitmap() = default;
    // Allocates width * height pixels, cleared to 0 so that no frame shows stale memory.
    // A non-positive size is stored as 0 and allocates nothing (pixels stays null).
    Bitmap(int32_t width, int32_t height);
    // Frees the pixels if set, then prints "deallocated internal Bitmap buffer \n".
    ~Bitmap();

    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    // this = (a * alpha + b * (255 - alpha)) >> 8 per byte, alpha clamped to 0..255.
    // a and b should have this bitmap's size; only the pixels all three hold are written.
    void blend(const Bitmap* a, const Bitmap* b, int32_t alpha);
    // Nearest-neighbour resample of this bitmap to the destination's size, with
    // single-precision ratios and truncation.
    void scaleInto(Bitmap* dst) const;
    // Copies this bitmap into dst with its top-left corner at (x, y), clipped.
    void copyInto(Bitmap* dst, int32_t x, int32_t y) const;
    // Adds this bitmap into dst at (x, y), per byte saturating at 255, clipped.
    void addInto(Bitmap* dst, int32_t x, int32_t y) const;
    // Copies all width * height pixels, row after row, to memory (which must hold them).
    void copyToMemory(uint32_t* memory) const;
    // Stores value at (x, y) when inside the bitmap.
    void putPixel(int32_t x, int32_t y, uint32_t value);
};
