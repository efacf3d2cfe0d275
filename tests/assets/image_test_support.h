#pragma once
// Helpers for the picture loader tests: PCX streams and pictures made by an independent
// encoder (ImageMagick). Temporary folders, guarded buffers and the JPEG encoder are in
// tests/support.
#include <cstdint>
#include <string>
#include <vector>

#include "support/FileBytes.h"
#include "support/GuardedBuffer.h"
#include "support/JpegEncode.h"
#include "support/TempDir.h"

namespace imagetest {

// A PCX file as the loader reads it: a blank 128-byte header, then the given stream.
std::vector<uint8_t> pcxWithStream(const std::vector<uint8_t>& stream);

// True when ImageMagick's convert runs.
bool imageMagickAvailable();
// Writes rgb (width * height triples) as a binary PPM and has ImageMagick turn it into a
// 24-bit run-length PCX at pcxPath. Returns false when convert fails.
bool writePcxWithImageMagick(const std::string& pcxPath, int width, int height,
                             const std::vector<uint8_t>& rgb);

}  // namespace imagetest
