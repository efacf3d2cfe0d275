#pragma once
#include <cstdint>

#include "core/Vector.h"

class Bitmap;

// One picture of a surface with its projection. Owns `image` (and `loadedImage` when that
// is a different picture).
class PolygonTexture {
public:
    enum : int32_t { Spherical = 0, Planar = 1, Cylindrical = 2 };
    enum : int32_t { AxisX = 0, AxisY = 1, AxisZ = 2 };

    Bitmap* image = nullptr;         // the 256 x 256 picture that is drawn
    Bitmap* loadedImage = nullptr;   // the picture as loaded; normally the same as image
    int32_t width = 256;
    int32_t height = 256;
    int32_t axis = AxisX;
    int32_t mapType = Planar;
    Vector centre;
    Vector size;

    PolygonTexture();
    // Prints "deallocating polygon texture \n", then "now i should delete an image \n"
    // and destroys the image, or "ey - image already null ? \n" when there is none, and
    // "done dealocating polygon texture \n".
    ~PolygonTexture();
    PolygonTexture(const PolygonTexture&) = delete;
    PolygonTexture& operator=(const PolygonTexture&) = delete;
};
