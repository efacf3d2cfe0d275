#pragma once
// JPEG decoding, then the conversion to pixels at requested sizes that need not match the
// picture's, the way the JPEG loader resamples into its target. Layout: requested width and
// height (one byte each, 1..256), target width and height (one byte each, 1..256), the file.
// Returns false when a decoded picture breaks the reader's promises.
#include <cstdlib>

#include "../InputCursor.h"
#include "assets/ImageFactory.h"
#include "assets/JpegReader.h"
#include "core/Bitmap.h"

inline bool runJpegTarget(const uint8_t* data, size_t size) {
    InputCursor input(data, size);
    const int32_t requestedWidth = input.takeByte() + 1;
    const int32_t requestedHeight = input.takeByte() + 1;
    const int32_t targetWidth = input.takeByte() + 1;
    const int32_t targetHeight = input.takeByte() + 1;

    int32_t width = -1, height = -1;
    uint8_t* rgb = decodeJpegFromMemory(input.rest(), input.restSize(), &width, &height);
    if (!rgb) return true;
    if (!pictureSizeInRange(width, height)) {  // a picture it should have refused
        std::free(rgb);
        return false;
    }

    Bitmap requested(requestedWidth, requestedHeight);
    rgbTriplesToPixels(rgb, width, height, requested.pixels, requestedWidth, requestedHeight);
    std::free(rgb);
    for (int32_t i = 0; i < requestedWidth * requestedHeight; ++i)
        if ((requested.pixels[i] >> 24) != 0xFF) return false;  // every pixel written

    Bitmap target(targetWidth, targetHeight);
    requested.scaleInto(&target);
    return true;
}
