#pragma once
#include <cstdint>
#include <cstdio>

class Bitmap;

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

    // A new width x height bitmap filled from the file (sourceWidth x sourceHeight).
    Bitmap* load(const char* fileName, int32_t sourceWidth, int32_t sourceHeight, int32_t width,
                 int32_t height, bool scale, int32_t spare);
    void loadInto(Bitmap* target, const char* fileName, int32_t width, int32_t height,
                  bool scale, int32_t spare);
};
