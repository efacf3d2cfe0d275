#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

// A baseline JPEG made by libjpeg's compressor, independent of the demo's reader, from
// width * height samples of `components` bytes (3: RGB, 1: grey, 4: CMYK).
inline std::vector<uint8_t> encodeJpeg(const std::vector<uint8_t>& samples, int width, int height, int components,
                                       int quality = 95) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = components == 3 ? JCS_RGB : components == 1 ? JCS_GRAYSCALE : JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data() + static_cast<size_t>(info.next_scanline) *
                                                                 static_cast<size_t>(width) * static_cast<size_t>(components));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<uint8_t> result(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return result;
}

// The R, G, B samples of a width x height picture given pixel by pixel as 0xRRGGBB.
template <typename PixelAt>
std::vector<uint8_t> rgbSamples(int width, int height, PixelAt pixel) {
    std::vector<uint8_t> samples;
    samples.reserve(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t value = pixel(x, y);
            samples.push_back(static_cast<uint8_t>(value >> 16));
            samples.push_back(static_cast<uint8_t>(value >> 8));
            samples.push_back(static_cast<uint8_t>(value));
        }
    return samples;
}
