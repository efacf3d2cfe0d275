#pragma once
// Files for the kebab tests, written by the tests themselves: a temporary folder, PCX
// pictures and a small LWOB object.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "assets/LwobBlob.h"

namespace kebabtest {

// A fresh folder under the system's temporary folder, removed with its contents.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kebabXXXXXX").string();
        path = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempFolder() {
        if (!path.empty()) std::filesystem::remove_all(path);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string file(const std::string& name) const { return path + "/" + name; }

    std::string path;
};

inline void writeBytes(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(std::filesystem::path(name).parent_path());
    FILE* file = std::fopen(name.c_str(), "wb");
    if (!file) return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

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
    writeBytes(name, bytes);
}

// A baseline colour JPEG at quality 95.
inline void writeJpeg(const std::string& name, int width, int height,
                      const std::function<uint32_t(int x, int y)>& pixel) {
    FILE* file = std::fopen(name.c_str(), "wb");
    if (!file) return;
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t value = pixel(x, y);
            row[3 * x] = static_cast<JSAMPLE>(value >> 16);
            row[3 * x + 1] = static_cast<JSAMPLE>(value >> 8);
            row[3 * x + 2] = static_cast<JSAMPLE>(value);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

// A closed tetrahedron around the origin with one surface.
inline void writeTetrahedron(const std::string& name, float size) {
    LwobBlob blob;
    blob.points({{size, size, size}, {-size, -size, size}, {-size, size, -size}, {size, -size, -size}})
        .chunk("SRFS", LwobBlob().text("Body", true))
        .polygons({{0, 1, 2, 1}, {0, 3, 1, 1}, {0, 2, 3, 1}, {1, 3, 2, 1}})
        .surface("Body", LwobBlob::colour(200, 100, 50));
    writeBytes(name, blob.form());
}

}  // namespace kebabtest
