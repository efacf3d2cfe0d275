#include "assets/PcxDecoder.h"

#include <cstdio>
#include <vector>

#include "assets/ImageFactory.h"
#include "assets/NearestIndex.h"
#include "core/DataFile.h"

namespace {

constexpr size_t kHeaderSize = 128;

// The three colour planes of a picture, one after the other.
struct Planes {
    int32_t width;
    int32_t height;
    std::vector<uint8_t> bytes;

    uint32_t pixel(int32_t x, int32_t y) const {
        size_t plane = size_t(width) * size_t(height);
        size_t at = size_t(y) * size_t(width) + size_t(x);
        return uint32_t(bytes[at]) << 16 | uint32_t(bytes[plane + at]) << 8 |
               uint32_t(bytes[2 * plane + at]);
    }
};

// Unpacks the run-length stream into planes. The column, plane and row counters run on
// through plane and row ends; bytes of a run that carries past the last pixel are dropped,
// and a run that carries a whole row past it fails, as does a stream that ends early.
bool unpackRuns(const uint8_t* stream, size_t size, Planes& planes) {
    const int32_t width = planes.width;
    const int32_t height = planes.height;
    const size_t planeSize = size_t(width) * size_t(height);

    // Each byte pair yields at most 63 bytes: a stream that cannot fill the picture
    // fails here rather than after allocating for it.
    if (3 * planeSize > size / 2 * 63 + size % 2) return false;
    planes.bytes.assign(3 * planeSize, 0);

    int32_t x = 0, plane = 0, y = 0;
    auto emit = [&](uint8_t value) {
        if (y < height) planes.bytes[size_t(plane) * planeSize + size_t(y) * width + x] = value;
        if (++x == width) {
            x = 0;
            if (++plane == 3) {
                plane = 0;
                ++y;
            }
        }
        return y <= height;
    };

    size_t at = 0;
    while (y < height) {
        if (at >= size) return false;
        uint8_t code = stream[at++];
        if ((code & 0xC0) == 0xC0) {
            if (at >= size) return false;
            uint8_t value = stream[at++];
            for (int count = code & 0x3F; count > 0; --count)
                if (!emit(value)) return false;
        } else if (!emit(code)) {
            return false;
        }
    }
    return true;
}

void copyOverlap(const Planes& planes, int32_t targetWidth, int32_t targetHeight,
                 uint32_t* targetPixels) {
    int32_t rows = planes.height < targetHeight ? planes.height : targetHeight;
    int32_t columns = planes.width < targetWidth ? planes.width : targetWidth;
    for (int32_t y = 0; y < rows; ++y)
        for (int32_t x = 0; x < columns; ++x)
            targetPixels[size_t(y) * size_t(targetWidth) + x] = planes.pixel(x, y);
}

void resampleToTarget(const Planes& planes, int32_t targetWidth, int32_t targetHeight,
                      uint32_t* targetPixels) {
    if (targetWidth <= 0 || targetHeight <= 0) return;
    float stepX = float(planes.width) / float(targetWidth);
    float stepY = float(planes.height) / float(targetHeight);
    for (int32_t y = 0; y < targetHeight; ++y) {
        int32_t sourceY = nearestIndex(stepY, y, planes.height);
        for (int32_t x = 0; x < targetWidth; ++x)
            targetPixels[size_t(y) * size_t(targetWidth) + x] =
                planes.pixel(nearestIndex(stepX, x, planes.width), sourceY);
    }
}

}  // namespace

int32_t decodePcxFromMemory(const uint8_t* data, size_t size, int32_t targetWidth,
                            int32_t targetHeight, uint32_t* targetPixels, int32_t sourceWidth,
                            int32_t sourceHeight, bool scale) {
    if (!data || !targetPixels || !pictureSizeInRange(sourceWidth, sourceHeight)) return -1;
    if (size < kHeaderSize) return -1;

    Planes planes{sourceWidth, sourceHeight, {}};
    if (!unpackRuns(data + kHeaderSize, size - kHeaderSize, planes)) return -1;
    if (scale)
        resampleToTarget(planes, targetWidth, targetHeight, targetPixels);
    else
        copyOverlap(planes, targetWidth, targetHeight, targetPixels);
    return 0;
}

int32_t decodePcx(const char* fileName, int32_t targetWidth, int32_t targetHeight,
                  uint32_t* targetPixels, int32_t sourceWidth, int32_t sourceHeight, bool scale) {
    std::vector<uint8_t> bytes;
    if (!readDataFile(fileName, bytes)) {
        std::fprintf(stderr, "cannot open picture %s; the bitmap keeps its contents\n",
                     fileName ? fileName : "(null)");
        return -1;
    }

    int32_t status = decodePcxFromMemory(bytes.data(), bytes.size(), targetWidth, targetHeight,
                                         targetPixels, sourceWidth, sourceHeight, scale);
    if (status != 0)
        std::fprintf(stderr,
                     "picture %s could not be decoded as a %dx%d PCX (size out of range or data "
                     "ended early); the bitmap keeps its contents\n",
                     fileName, sourceWidth, sourceHeight);
    return status;
}
