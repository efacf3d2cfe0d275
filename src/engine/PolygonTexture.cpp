#include "engine/PolygonTexture.h"

#include <cstdio>

#include "core/Bitmap.h"

PolygonTexture::PolygonTexture() {
    centre.set(0.0, 0.0, 0.0);
    size.set(0.0, 0.0, 0.0);
}

PolygonTexture::~PolygonTexture() {
    std::printf("deallocating polygon texture \n");
    if (loadedImage != image) delete loadedImage;
    if (image) {
        std::printf("now i should delete an image \n");
        delete image;
    } else {
        std::printf("ey - image already null ? \n");
    }
    std::printf("done dealocating polygon texture \n");
}
