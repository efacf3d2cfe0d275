#include "FrameWriters.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>

#include "core/PlatformConsole.h"

void enlargeFrame(const uint32_t* pixels, int32_t width, int32_t height, int32_t factor,
                  std::vector<uint32_t>& out) {
    const size_t outWidth = static_cast<size_t>(width) * factor;
    out.resize(outWidth * height * factor);
    uint32_t* row = out.data();
    for (int32_t y = 0; y < height; ++y) {
        const uint32_t* src = pixels + static_cast<size_t>(y) * width;
        for (int32_t x = 0; x < width; ++x) std::fill_n(row + static_cast<size_t>(x) * factor, factor, src[x]);
        // The other rows of the block repeat the first one.
        for (int32_t copy = 1; copy < factor; ++copy) std::copy_n(row, outWidth, row + copy * outWidth);
        row += outWidth * factor;
    }
}

bool writeFramePng(const std::string& path, const uint32_t* pixels, int32_t width, int32_t height) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, nullptr);
        std::fclose(file);
        return false;
    }
    std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    // Frames are rendered fresh every time: fast compression keeps long captures quick.
    png_set_compression_level(png, 1);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int32_t y = 0; y < height; ++y) {
        const uint32_t* src = pixels + static_cast<size_t>(y) * width;
        for (int32_t x = 0; x < width; ++x) {
            row[x * 3 + 0] = static_cast<uint8_t>(src[x] >> 16);
            row[x * 3 + 1] = static_cast<uint8_t>(src[x] >> 8);
            row[x * 3 + 2] = static_cast<uint8_t>(src[x]);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

uint32_t frameCrc(const uint32_t* pixels, int32_t width, int32_t height) {
    std::vector<uint8_t> bytes(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0; i < static_cast<size_t>(width) * height; i++) {
        bytes[i * 3 + 0] = static_cast<uint8_t>(pixels[i] >> 16);
        bytes[i * 3 + 1] = static_cast<uint8_t>(pixels[i] >> 8);
        bytes[i * 3 + 2] = static_cast<uint8_t>(pixels[i]);
    }
    return static_cast<uint32_t>(crc32(0L, bytes.data(), static_cast<uInt>(bytes.size())));
}

void rgbToYuv(uint32_t pixel, uint8_t& y, uint8_t& u, uint8_t& v) {
    const int r = (pixel >> 16) & 255, g = (pixel >> 8) & 255, b = pixel & 255;
    // Integer BT.601 full-range (JPEG) coefficients, scaled by 2^16 and rounded.
    const int yy = (19595 * r + 38470 * g + 7471 * b + 32768) >> 16;
    const int uu = ((-11059 * r - 21709 * g + 32768 * b + 32768) >> 16) + 128;
    const int vv = ((32768 * r - 27439 * g - 5329 * b + 32768) >> 16) + 128;
    y = static_cast<uint8_t>(std::clamp(yy, 0, 255));
    u = static_cast<uint8_t>(std::clamp(uu, 0, 255));
    v = static_cast<uint8_t>(std::clamp(vv, 0, 255));
}

Y4mWriter::~Y4mWriter() { close(); }

bool Y4mWriter::open(const std::string& path, int32_t w, int32_t h, int32_t fps) {
    close();
    if (path == "-") {
        // A duplicate of the standard output descriptor: the caller may point descriptor 1
        // elsewhere afterwards so that nothing else can write into the stream.
        file = platform::openStandardOutputCopy();
    } else {
        file = std::fopen(path.c_str(), "wb");
    }
    if (!file) return false;
    width = w;
    height = h;
    failed = false;
    planes.resize(static_cast<size_t>(w) * h * 3);
    failed = std::fprintf(file, "YUV4MPEG2 W%d H%d F%d:1 Ip A1:1 C444 XCOLORRANGE=FULL\n", w, h, fps) < 0;
    return !failed;
}

bool Y4mWriter::writeFrame(const uint32_t* pixels) {
    if (!file) return false;
    const size_t count = static_cast<size_t>(width) * height;
    uint8_t* yPlane = planes.data();
    uint8_t* uPlane = yPlane + count;
    uint8_t* vPlane = uPlane + count;
    for (size_t i = 0; i < count; ++i) rgbToYuv(pixels[i], yPlane[i], uPlane[i], vPlane[i]);
    if (std::fputs("FRAME\n", file) < 0 || std::fwrite(planes.data(), 1, planes.size(), file) != planes.size())
        failed = true;
    return !failed;
}

bool Y4mWriter::close() {
    if (!file) return !failed;
    if (std::fflush(file) != 0) failed = true;
    if (std::fclose(file) != 0) failed = true;
    file = nullptr;
    return !failed;
}
