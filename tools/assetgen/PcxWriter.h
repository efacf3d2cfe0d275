#pragma once
#include <cstdint>
#include <string>
#include <vector>

// 24-bit PCX: a 128-byte header, then run-length encoded rows of three planes (all red
// bytes of the row, then green, then blue), bytesPerLine == width, runs kept inside a
// plane line.

// `rgb` holds width * height R, G, B triples, rows top-down.
std::vector<uint8_t> encodePcx(int width, int height, const std::vector<uint8_t>& rgb);
// Writes the encoded picture; false when the file cannot be written.
bool writePcx(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb);
