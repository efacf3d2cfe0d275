#include <cstdio>

#include "assets/ImageFactory.h"
#include "assets/PcxDecoder.h"
#include "core/Bitmap.h"

bool PcxLoader::canLoad(const char* fileName) {
    return lastThreeLettersMatch(fileName, "PCX");
}

void PcxLoader::loadInto(Bitmap* target, const char* fileName, int32_t width, int32_t height,
                         bool scale, int32_t) {
    if (!target) return;
    decodePcx(fileName, target->width, target->height, target->pixels, width, height, scale);
}

Bitmap* PcxLoader::loadNew(const char* fileName, int32_t width, int32_t height, bool scale,
                           int32_t) {
    if (width > 0 && height > 0 && !pictureSizeInRange(width, height)) {
        std::fprintf(stderr, "picture %s: size %dx%d is too large; not loaded\n",
                     fileName ? fileName : "(null)", width, height);
        return nullptr;
    }
    Bitmap* bitmap = new Bitmap(width, height);
    decodePcx(fileName, width, height, bitmap->pixels, width, height, scale);
    return bitmap;
}
