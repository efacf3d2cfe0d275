#pragma once
#include <cstdint>

class Bitmap;

// Largest picture any loader accepts, in pixels: far above the 512 x 384 the system uses,
// low enough that a corrupt or hostile size cannot exhaust memory.
constexpr int64_t kMaxPicturePixels = int64_t(1) << 24;

// True when width and height are both positive and their product is within kMaxPicturePixels.
bool pictureSizeInRange(int32_t width, int32_t height);

// True when the last three characters of fileName equal `letters` (given in upper case)
// ignoring letter case. Names shorter than three characters never match.
bool lastThreeLettersMatch(const char* fileName, const char* letters);

// A picture loader chosen by the last three letters of a file name.
class ImageLoader {
public:
    virtual void loadInto(Bitmap* target, const char* fileName, int32_t width, int32_t height,
                          bool scale, int32_t spare) = 0;
    virtual Bitmap* loadNew(const char* fileName, int32_t width, int32_t height, bool scale,
                            int32_t spare) = 0;
    virtual bool canLoad(const char* fileName) = 0;
    virtual ~ImageLoader() = default;
};

// 24-bit run-length encoded PCX, three planes a line; the size comes from the caller.
class PcxLoader : public ImageLoader {
public:
    void loadInto(Bitmap* target, const char* fileName, int32_t width, int32_t height,
                  bool scale, int32_t spare) override;
    Bitmap* loadNew(const char* fileName, int32_t width, int32_t height, bool scale,
                    int32_t spare) override;
    bool canLoad(const char* fileName) override;
};

// Colour JPEG through libjpeg.
class JpgLoader : public ImageLoader {
public:
    void loadInto(Bitmap* target, const char* fileName, int32_t width, int32_t height,
                  bool scale, int32_t spare) override;
    Bitmap* loadNew(const char* fileName, int32_t width, int32_t height, bool scale,
                    int32_t spare) override;   // returns null
    bool canLoad(const char* fileName) override;
};

// The picture loader registry: loader 0 is PCX, loader 1 is JPEG.
class VEX_ImageFactory {
public:
    ImageLoader** loaders = nullptr;
    int32_t loaderCount = 0;

    VEX_ImageFactory();   // prints "VEX_ImageFactory constructor gets called \n"
    ~VEX_ImageFactory();
    VEX_ImageFactory(const VEX_ImageFactory&) = delete;
    VEX_ImageFactory& operator=(const VEX_ImageFactory&) = delete;

    // A new width x height bitmap filled from the file (sourceWidth x sourceHeight). The bitmap
    // is returned also when no loader takes the name; a size above kMaxPicturePixels gives
    // an empty 0 x 0 bitmap.
    Bitmap* load(const char* fileName, int32_t sourceWidth, int32_t sourceHeight, int32_t width,
                 int32_t height, bool scale, int32_t spare);
    void loadInto(Bitmap* target, const char* fileName, int32_t width, int32_t height,
                  bool scale, int32_t spare);
    // What load gives, for pictures that are only ever read: the first request in the
    // working directory decodes it, later ones with the same name and sizes get the same
    // bitmap. Each request announces the file as load does. The bitmaps live until the
    // process ends; nobody may change or delete them. The files must not change meanwhile,
    // unless whoever changes one calls refreshShared.
    const Bitmap* loadShared(const char* fileName, int32_t sourceWidth, int32_t sourceHeight,
                             int32_t width, int32_t height, bool scale, int32_t spare);
    // Decodes the shared pictures of this file in the working directory again, into the
    // bitmaps every holder already has (a live player rewrote the file). Returns how many.
    int32_t refreshShared(const char* fileName);

private:
    // The first loader that accepts the name, after printing which one it is; null if none.
    ImageLoader* announceLoaderFor(const char* fileName);
};
