#pragma once
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/FileBytes.h"

// Whole-file reading and a PCX decoder of our own, independent of the demo's loader:
// it follows the format as the demo reads it (128-byte header skipped for decoding, runs
// that may cross plane and row ends) but also reports the header's size fields.

struct DecodedPcx {
    bool ok = false;              // the stream filled the picture exactly, with no run overflowing
    int headerWidth = 0, headerHeight = 0, planes = 0, bytesPerLine = 0;
    size_t consumed = 0;          // bytes read, header included
    std::vector<uint8_t> rgb;     // R, G, B triples, rows top-down
};

inline DecodedPcx decodePcxForTest(const std::vector<uint8_t>& file) {
    DecodedPcx d;
    if (file.size() < 128 || file[0] != 0x0A) return d;
    auto u16 = [&](size_t at) { return int(file[at] | (file[at + 1] << 8)); };
    d.headerWidth = u16(8) - u16(4) + 1;
    d.headerHeight = u16(10) - u16(6) + 1;
    d.planes = file[65];
    d.bytesPerLine = u16(66);
    const size_t w = size_t(d.headerWidth), total = w * size_t(d.headerHeight) * 3;
    std::vector<uint8_t> planar;
    planar.reserve(total);
    size_t at = 128;
    while (planar.size() < total) {
        if (at >= file.size()) return d;
        uint8_t code = file[at++];
        size_t count = 1;
        uint8_t value = code;
        if ((code & 0xC0) == 0xC0) {
            if (at >= file.size()) return d;
            count = code & 0x3F;
            value = file[at++];
        }
        if (planar.size() + count > total) return d;
        planar.insert(planar.end(), count, value);
    }
    d.consumed = at;
    d.rgb.resize(total);
    for (size_t y = 0; y < size_t(d.headerHeight); ++y)
        for (size_t p = 0; p < 3; ++p)
            for (size_t x = 0; x < w; ++x) d.rgb[(y * w + x) * 3 + p] = planar[(y * 3 + p) * w + x];
    d.ok = true;
    return d;
}
