#include "PcxWriter.h"

#include <stdexcept>

#include "FileOutput.h"

static void put16(std::vector<uint8_t>& out, size_t at, int value) {
    out[at] = uint8_t(value & 255);
    out[at + 1] = uint8_t((value >> 8) & 255);
}

// One plane line: a run of 1..63 equal bytes becomes 0xC0|count, value; a lone byte below
// 0xC0 stands for itself (a lone byte of 0xC0 or more needs the two-byte form).
static void encodeLine(std::vector<uint8_t>& out, const uint8_t* line, int length) {
    for (int i = 0; i < length;) {
        uint8_t value = line[i];
        int run = 1;
        while (i + run < length && run < 63 && line[i + run] == value) ++run;
        if (run > 1 || value >= 0xC0) out.push_back(uint8_t(0xC0 | run));
        out.push_back(value);
        i += run;
    }
}

std::vector<uint8_t> encodePcx(int width, int height, const std::vector<uint8_t>& rgb) {
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535 ||
        rgb.size() != size_t(width) * size_t(height) * 3)
        throw std::invalid_argument("PCX picture size does not match its pixels");
    std::vector<uint8_t> out(128, 0);
    out[0] = 0x0A;   // manufacturer
    out[1] = 5;      // version 3.0 with 24-bit support
    out[2] = 1;      // run-length encoding
    out[3] = 8;      // bits per pixel per plane
    put16(out, 8, width - 1);
    put16(out, 10, height - 1);
    put16(out, 12, 72);
    put16(out, 14, 72);
    out[65] = 3;     // planes
    put16(out, 66, width);
    put16(out, 68, 1);   // colour palette interpretation

    std::vector<uint8_t> plane(static_cast<size_t>(width));
    for (int y = 0; y < height; ++y)
        for (int p = 0; p < 3; ++p) {
            for (int x = 0; x < width; ++x) plane[size_t(x)] = rgb[(size_t(y) * width + x) * 3 + p];
            encodeLine(out, plane.data(), width);
        }
    return out;
}

bool writePcx(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb) {
    return writeFileBytes(path, encodePcx(width, height, rgb));
}
