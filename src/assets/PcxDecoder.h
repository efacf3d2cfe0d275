#pragma once
#include <cstddef>
#include <cstdint>

// 24-bit run-length encoded PCX as the demo's pictures are stored: a 128-byte header that is
// not read, then for each row a red, a green and a blue line of sourceWidth bytes. The
// picture's size comes from the caller. Pixels are written as R << 16 | G << 8 | B.
//
// Without `scale` the overlap of picture and target is copied to the top-left corner and the
// rest of the target is left alone; with `scale` the picture is resampled (nearest neighbour)
// to the whole target. Returns 0 on success and -1 when the data ends early, runs a whole row
// past the picture, or the sizes are out of range; the target is then left unchanged.

// Reads the file through openDataFile; a file that cannot be opened is reported on stderr.
int32_t decodePcx(const char* fileName, int32_t targetWidth, int32_t targetHeight,
                  uint32_t* targetPixels, int32_t sourceWidth, int32_t sourceHeight, bool scale);

// The same for the file's bytes (header included) held in memory.
int32_t decodePcxFromMemory(const uint8_t* data, size_t size, int32_t targetWidth,
                            int32_t targetHeight, uint32_t* targetPixels, int32_t sourceWidth,
                            int32_t sourceHeight, bool scale);
