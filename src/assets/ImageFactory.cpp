#include "assets/ImageFactory.h"

#include <cctype>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "core/Bitmap.h"
#include "core/PlatformFiles.h"

bool pictureSizeInRange(int32_t width, int32_t height) {
    return width > 0 && height > 0 && int64_t(width) * int64_t(height) <= kMaxPicturePixels;
}

bool lastThreeLettersMatch(const char* fileName, const char* letters) {
    if (!fileName) return false;
    size_t length = std::strlen(fileName);
    if (length < 3) return false;
    const char* tail = fileName + length - 3;
    for (int i = 0; i < 3; ++i)
        if (std::toupper(static_cast<unsigned char>(tail[i])) != letters[i]) return false;
    return true;
}

VEX_ImageFactory::VEX_ImageFactory() {
    std::printf("VEX_ImageFactory constructor gets called \n");
    std::fflush(stdout);
    loaderCount = 2;
    loaders = new ImageLoader*[loaderCount];
    loaders[0] = new PcxLoader();
    loaders[1] = new JpgLoader();
}

VEX_ImageFactory::~VEX_ImageFactory() {
    for (int32_t i = 0; i < loaderCount; ++i) delete loaders[i];
    delete[] loaders;
}

ImageLoader* VEX_ImageFactory::announceLoaderFor(const char* fileName) {
    for (int32_t i = 0; i < loaderCount; ++i) {
        if (loaders[i]->canLoad(fileName)) {
            std::printf("trying to load %s with loader number %i. \n", fileName, i);
            std::fflush(stdout);
            return loaders[i];
        }
    }
    return nullptr;
}

Bitmap* VEX_ImageFactory::load(const char* fileName, int32_t sourceWidth, int32_t sourceHeight,
                               int32_t width, int32_t height, bool scale, int32_t spare) {
    Bitmap* bitmap;
    if (width > 0 && height > 0 && !pictureSizeInRange(width, height)) {
        std::fprintf(stderr, "picture %s: size %dx%d is too large; made an empty bitmap\n",
                     fileName ? fileName : "(null)", width, height);
        bitmap = new Bitmap(0, 0);
    } else {
        bitmap = new Bitmap(width, height);
    }
    if (ImageLoader* loader = announceLoaderFor(fileName))
        loader->loadInto(bitmap, fileName, sourceWidth, sourceHeight, scale, spare);
    return bitmap;
}

void VEX_ImageFactory::loadInto(Bitmap* target, const char* fileName, int32_t width,
                                int32_t height, bool scale, int32_t spare) {
    if (ImageLoader* loader = announceLoaderFor(fileName))
        loader->loadInto(target, fileName, width, height, scale, spare);
}

namespace {

struct SharedPicture {
    std::string directory;
    std::string fileName;
    int32_t sizes[4];
    bool scale;
    int32_t spare;
    const Bitmap* bitmap;
};

// A handful of entries: a list is all it needs. Never destroyed, so the pictures stay
// reachable to the very end of the process.
std::vector<SharedPicture>& sharedPictures() {
    static std::vector<SharedPicture>& shared = *new std::vector<SharedPicture>;
    return shared;
}

}  // namespace

const Bitmap* VEX_ImageFactory::loadShared(const char* fileName, int32_t sourceWidth, int32_t sourceHeight,
                                           int32_t width, int32_t height, bool scale, int32_t spare) {
    std::vector<SharedPicture>& shared = sharedPictures();
    if (!fileName) return load(fileName, sourceWidth, sourceHeight, width, height, scale, spare);
    const std::string directory = platform::workingDirectory();
    for (const SharedPicture& picture : shared) {
        if (picture.directory == directory && picture.fileName == fileName &&
            std::tie(picture.sizes[0], picture.sizes[1], picture.sizes[2], picture.sizes[3], picture.scale,
                     picture.spare) == std::tie(sourceWidth, sourceHeight, width, height, scale, spare)) {
            announceLoaderFor(fileName);
            return picture.bitmap;
        }
    }
    const Bitmap* bitmap = load(fileName, sourceWidth, sourceHeight, width, height, scale, spare);
    shared.push_back({directory, fileName, {sourceWidth, sourceHeight, width, height}, scale, spare, bitmap});
    return bitmap;
}

int32_t VEX_ImageFactory::refreshShared(const char* fileName) {
    const std::string directory = platform::workingDirectory();
    int32_t refreshed = 0;
    for (SharedPicture& picture : sharedPictures()) {
        if (picture.directory != directory || picture.fileName != fileName) continue;
        Bitmap* fresh = load(fileName, picture.sizes[0], picture.sizes[1], picture.sizes[2], picture.sizes[3],
                             picture.scale, picture.spare);
        Bitmap* held = const_cast<Bitmap*>(picture.bitmap);
        if (fresh->width == held->width && fresh->height == held->height) {
            std::copy(fresh->pixels, fresh->pixels + static_cast<size_t>(held->width) * held->height, held->pixels);
            refreshed++;
        }
        delete fresh;
    }
    return refreshed;
}
