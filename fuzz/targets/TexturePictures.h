#pragma once
// Pictures for the texture names an object file gives. A hostile name could point anywhere
// on disk, and a missing JPEG ends the program (the demo cannot go on without its pictures),
// so a harness hands the reader names of small real pictures of the same kind instead.
#include <jpeglib.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "assets/ImageFactory.h"

class TexturePictures {
public:
    TexturePictures() {
        char pattern[] = "/tmp/demo-fuzz-textures.XXXXXX";
        if (!mkdtemp(pattern)) std::abort();
        folder = pattern;
        writePcx(folder + "/texture.pcx");
        writeJpeg(folder + "/texture.jpg");
    }
    ~TexturePictures() {
        std::remove((folder + "/texture.pcx").c_str());
        std::remove((folder + "/texture.jpg").c_str());
        rmdir(folder.c_str());
    }

    // The stand-in for a name the image factory would load; other names are kept.
    void substitute(char (&name)[256]) const {
        const char* replacement = nullptr;
        if (lastThreeLettersMatch(name, "PCX")) replacement = "/texture.pcx";
        else if (lastThreeLettersMatch(name, "JPG")) replacement = "/texture.jpg";
        if (replacement) std::snprintf(name, sizeof name, "%s%s", folder.c_str(), replacement);
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

    static void writeJpeg(const std::string& path) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (!file) std::abort();
        jpeg_compress_struct info;
        jpeg_error_mgr errors;
        info.err = jpeg_std_error(&errors);
        jpeg_create_compress(&info);
        jpeg_stdio_dest(&info, file);
        info.image_width = 256;
        info.image_height = 256;
        info.input_components = 3;
        info.in_color_space = JCS_RGB;
        jpeg_set_defaults(&info);
        jpeg_start_compress(&info, TRUE);
        unsigned char row[256 * 3];
        while (info.next_scanline < 256) {
            for (int x = 0; x < 256; ++x) {
                row[3 * x] = (unsigned char)x;
                row[3 * x + 1] = (unsigned char)info.next_scanline;
                row[3 * x + 2] = (unsigned char)(x ^ info.next_scanline);
            }
            JSAMPROW rows[1] = {row};
            jpeg_write_scanlines(&info, rows, 1);
        }
        jpeg_finish_compress(&info);
        jpeg_destroy_compress(&info);
        std::fclose(file);
    }

    std::string folder;
};
