#pragma once
// Pictures for the texture names an object file gives. A hostile name could point anywhere
// on disk, and a missing JPEG ends the program (the demo cannot go on without its pictures),
// so a harness hands the reader names of small real pictures of the same kind instead.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "assets/ImageFactory.h"
#include "support/FileBytes.h"
#include "support/JpegEncode.h"
#include "support/TempDir.h"

class TexturePictures {
public:
    TexturePictures() {
        writePcx(folder.file("texture.pcx"));
        const auto pixel = [](int x, int y) { return uint32_t(x) << 16 | uint32_t(y) << 8 | uint32_t(x ^ y); };
        writeFileBytes(folder.file("texture.jpg"), encodeJpeg(rgbSamples(256, 256, pixel), 256, 256, 3, 75));
    }

    // The stand-in for a name the image factory would load; other names are kept.
    void substitute(char (&name)[256]) const {
        const char* replacement = nullptr;
        if (lastThreeLettersMatch(name, "PCX")) replacement = "/texture.pcx";
        else if (lastThreeLettersMatch(name, "JPG")) replacement = "/texture.jpg";
        if (replacement) std::snprintf(name, sizeof name, "%s%s", folder.path.c_str(), replacement);
    }

private:
    // 256 x 256, three planes a line, in runs of 63.
    static void writePcx(const std::string& path) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (!file) std::abort();
        unsigned char header[128] = {10, 5, 1, 8};
        std::fwrite(header, 1, sizeof header, file);
        for (int y = 0; y < 256; ++y)
            for (int plane = 0; plane < 3; ++plane)
                for (int left = 256; left > 0; left -= 63) {
                    int run = left < 63 ? left : 63;
                    std::fputc(0xC0 | run, file);
                    std::fputc((y * (plane + 1)) & 0xFF, file);
                }
        std::fclose(file);
    }

    TempDir folder;
};
