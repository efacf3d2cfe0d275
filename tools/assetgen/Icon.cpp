#include "Icon.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>

#include <png.h>

Canvas makeIcon(const Canvas& picture, int size) {
    const int box = std::min(picture.width(), picture.height()) / size;
    const int left = (picture.width() - box * size) / 2, top = (picture.height() - box * size) / 2;
    Canvas icon(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Rgb sum;
            for (int v = 0; v < box; ++v)
                for (int u = 0; u < box; ++u) sum = sum + picture.at(left + x * box + u, top + y * box + v);
            icon.at(x, y) = sum * (1.0f / float(box * box));
        }
    return icon;
}

bool writePng(const std::string& path, const Canvas& canvas) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
        return false;
    }
    const std::vector<uint8_t> rgb = canvas.rgbBytes();
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    auto finish = [&](bool ok) {
        png_destroy_write_struct(&png, &info);
        ok = std::fclose(f) == 0 && ok;
        if (!ok) std::fprintf(stderr, "assetgen: failed writing %s\n", path.c_str());
        return ok;
    };
    if (!png || !info) return finish(false);
    // libpng reports its failures by jumping back here.
    if (setjmp(png_jmpbuf(png))) return finish(false);
    png_init_io(png, f);
    png_set_IHDR(png, info, png_uint_32(canvas.width()), png_uint_32(canvas.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < canvas.height(); ++y)
        png_write_row(png, &rgb[size_t(y) * size_t(canvas.width()) * 3]);
    png_write_end(png, nullptr);
    return finish(true);
}
