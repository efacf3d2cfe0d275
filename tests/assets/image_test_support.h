#pragma once
// Helpers for the picture loader tests: temporary folders, guarded pixel buffers, and
// pictures made by independent encoders (ImageMagick for PCX, libjpeg's compressor).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "support/FileBytes.h"

namespace imagetest {

// A fresh folder under /tmp, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// `count` pixels that end exactly where a PROT_NONE page begins: one pixel too far crashes.
class GuardedPixels {
public:
    GuardedPixels(size_t count, uint32_t fill);
    ~GuardedPixels();
    GuardedPixels(const GuardedPixels&) = delete;
    GuardedPixels& operator=(const GuardedPixels&) = delete;
    uint32_t* data() const { return pixels_; }
    uint32_t operator[](size_t i) const { return pixels_[i]; }

private:
    void* mapping_ = nullptr;
    size_t mappingSize_ = 0;
    uint32_t* pixels_ = nullptr;
};

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes);

// A PCX file as the loader reads it: a blank 128-byte header, then the given stream.
std::vector<uint8_t> pcxWithStream(const std::vector<uint8_t>& stream);

// True when ImageMagick's convert runs.
bool imageMagickAvailable();
// Writes rgb (width * height triples) as a binary PPM and has ImageMagick turn it into a
// 24-bit run-length PCX at pcxPath. Returns false when convert fails.
bool writePcxWithImageMagick(const std::string& pcxPath, int width, int height,
                             const std::vector<uint8_t>& rgb);

// A baseline JPEG from width * height samples of `components` bytes (3: RGB, 1: grey, 4: CMYK).
std::vector<uint8_t> encodeJpeg(const std::vector<uint8_t>& samples, int width, int height,
                                int components, int quality = 95);

}  // namespace imagetest
