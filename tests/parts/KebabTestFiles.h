#pragma once
// Files for the kebab tests, written by the tests themselves into a TempDir: PCX and JPEG
// pictures and a small LWOB object.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "assets/LwobBlob.h"
#include "support/FileBytes.h"
#include "support/JpegEncode.h"
#include "support/TempDir.h"

namespace kebabtest {

// A 24-bit PCX as the loader reads it: a blank header, then per row a red, a green and a
// blue line, every byte as a run of one.
inline void writePcx(const std::string& name, int width, int height,
                     const std::function<uint32_t(int x, int y)>& pixel) {
    std::vector<uint8_t> bytes(128, 0);
    for (int y = 0; y < height; ++y) {
        for (int shift = 16; shift >= 0; shift -= 8) {
            for (int x = 0; x < width; ++x) {
                bytes.push_back(0xC1);
                bytes.push_back(static_cast<uint8_t>(pixel(x, y) >> shift));
            }
        }
    }
    writeFileBytes(name, bytes);
}

// A baseline colour JPEG at quality 95.
inline void writeJpeg(const std::string& name, int width, int height,
                      const std::function<uint32_t(int x, int y)>& pixel) {
    writeFileBytes(name, encodeJpeg(rgbSamples(width, height, pixel), width, height, 3));
}

// A closed tetrahedron around the origin with one surface.
inline void writeTetrahedron(const std::string& name, float size) {
    LwobBlob blob;
    blob.points({{size, size, size}, {-size, -size, size}, {-size, size, -size}, {size, -size, -size}})
        .chunk("SRFS", LwobBlob().text("Body", true))
        .polygons({{0, 1, 2, 1}, {0, 3, 1, 1}, {0, 2, 3, 1}, {1, 3, 2, 1}})
        .surface("Body", LwobBlob::colour(200, 100, 50));
    writeFileBytes(name, blob.form());
}

}  // namespace kebabtest
