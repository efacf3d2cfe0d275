#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

// JPEG decoding through libjpeg into 8-bit R, G, B triples, three bytes a pixel, rows
// top-down. Greyscale pictures come out as RGB too. The buffer is from malloc and the
// caller frees it. On data libjpeg rejects, the library's message goes to stderr and the
// result is null. Pictures above kMaxPicturePixels are refused the same way.

// Decodes from a file the caller has opened for binary reading and closes afterwards.
uint8_t* decodeJpeg(std::FILE* file, int32_t* outWidth, int32_t* outHeight);

// Decodes from bytes in memory.
uint8_t* decodeJpegFromMemory(const uint8_t* data, size_t size, int32_t* outWidth,
                              int32_t* outHeight);

// Writes a decoded picture of pictureWidth x pictureHeight triples into a width x height
// pixel array as 0xFF000000 | R << 16 | G << 8 | B. Pictures of another size are resampled
// (nearest neighbour) so that exactly width * height pixels are written.
void rgbTriplesToPixels(const uint8_t* rgb, int32_t pictureWidth, int32_t pictureHeight,
                        uint32_t* pixels, int32_t width, int32_t height);

// Loads the JPEG file (opened with openDataFile) into width x height pixels. Returns false,
// leaving the pixels as they were, when the data cannot be decoded. A file that cannot be
// opened ends the process with status 1: the demo cannot go on without its pictures.
bool readJpegPixels(const char* fileName, uint32_t* pixels, int32_t width, int32_t height);
