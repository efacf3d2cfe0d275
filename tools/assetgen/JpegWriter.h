#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Baseline colour JPEG (three components) through libjpeg. `rgb` holds width * height
// R, G, B triples, rows top-down. Returns false when the file cannot be written.
bool writeJpeg(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb,
               int quality);
