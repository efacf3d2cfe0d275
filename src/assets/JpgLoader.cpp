#include <cstdio>

#include "assets/ImageFactory.h"
#include "assets/JpegReader.h"
#include "core/Bitmap.h"

bool JpgLoader::canLoad(const char* fileName) {
    return lastThreeLettersMatch(fileName, "JPG");
}

void JpgLoader::loadInto(Bitmap* target, const char* fileName, int32_t width, int32_t height,
                         bool, int32_t) {
    if (!target) return;
    if (width == target->width && height == target->height) {
        readJpegPixels(fileName, target->pixels, target->width, target->height);
        return;
    }
    if (!pictureSizeInRange(width, height)) {
        std::fprintf(stderr, "JPEG picture %s: size %dx%d is out of range; loaded at %dx%d\n",
                     fileName, width, height, target->width, target->height);
        readJpegPixels(fileName, target->pixels, target->width, target->height);
        return;
    }
    Bitmap temporary(width, height);
    if (readJpegPixels(fileName, temporary.pixels, width, height)) temporary.scaleInto(target);
}

Bitmap* JpgLoader::loadNew(const char*, int32_t, int32_t, bool, int32_t) {
    return nullptr;
}
