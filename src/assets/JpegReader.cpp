#include "assets/JpegReader.h"

#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <jpeglib.h>

#include "assets/ImageFactory.h"
#include "assets/NearestIndex.h"
#include "core/DataFile.h"

namespace {

// The standard error manager with a way back: a fatal library error prints the library's
// message and returns to the decoder instead of ending the process.
struct JpegErrorContext {
    jpeg_error_mgr manager;  // first: the library hands back its address as the context's
    std::jmp_buf jumpBack;
};

[[noreturn]] void printMessageAndJumpBack(j_common_ptr info) {
    (*info->err->output_message)(info);
    std::longjmp(reinterpret_cast<JpegErrorContext*>(info->err)->jumpBack, 1);
}

struct JpegDecoding {
    jpeg_decompress_struct info;
    JpegErrorContext error;
    uint8_t* samples;
    bool decoded;  // set only when the whole picture came through
};

using AttachSource = void (*)(j_decompress_ptr info, const void* source, size_t size);

void attachFile(j_decompress_ptr info, const void* source, size_t) {
    jpeg_stdio_src(info, static_cast<std::FILE*>(const_cast<void*>(source)));
}

void attachMemory(j_decompress_ptr info, const void* source, size_t size) {
    jpeg_mem_src(info, static_cast<const unsigned char*>(source), static_cast<unsigned long>(size));
}

// Decodes the whole picture into decoding.samples. A library error jumps out of here.
bool decodeSamples(JpegDecoding& decoding, AttachSource attach, const void* source, size_t size) {
    jpeg_decompress_struct& info = decoding.info;
    jpeg_create_decompress(&info);
    attach(&info, source, size);
    jpeg_read_header(&info, TRUE);
    // Refused before the library sets up its buffers for the picture.
    if (!pictureSizeInRange(int32_t(info.image_width), int32_t(info.image_height))) {
        std::fprintf(stderr, "JPEG picture of %ux%u pixels is too large; not decoded\n",
                     info.image_width, info.image_height);
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_components != 3) {  // the pixel conversion reads whole triples
        std::fprintf(stderr, "JPEG picture came out with %d components; not decoded\n",
                     info.output_components);
        return false;
    }
    const size_t rowBytes = size_t(info.output_width) * 3;
    decoding.samples = static_cast<uint8_t*>(std::malloc(rowBytes * info.output_height));
    if (!decoding.samples) {
        std::fprintf(stderr, "no memory for a JPEG picture of %ux%u pixels\n", info.output_width,
                     info.output_height);
        return false;
    }
    JSAMPARRAY line = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                JDIMENSION(rowBytes), 1);
    while (info.output_scanline < info.output_height) {
        size_t row = info.output_scanline;
        jpeg_read_scanlines(&info, line, 1);
        std::memcpy(decoding.samples + row * rowBytes, line[0], rowBytes);
    }
    jpeg_finish_decompress(&info);
    return true;
}

uint8_t* decodeWith(AttachSource attach, const void* source, size_t size, int32_t* outWidth,
                    int32_t* outHeight) {
    // On the heap and never reassigned, so nothing the jump returns to sits in a register.
    const std::unique_ptr<JpegDecoding> decoding(new JpegDecoding());
    decoding->info.err = jpeg_std_error(&decoding->error.manager);
    decoding->error.manager.error_exit = printMessageAndJumpBack;

    if (setjmp(decoding->error.jumpBack) == 0)
        decoding->decoded = decodeSamples(*decoding, attach, source, size);

    if (decoding->decoded) {
        *outWidth = int32_t(decoding->info.output_width);
        *outHeight = int32_t(decoding->info.output_height);
    } else {
        std::free(decoding->samples);
        decoding->samples = nullptr;
    }
    jpeg_destroy_decompress(&decoding->info);
    return decoding->samples;
}

}  // namespace

uint8_t* decodeJpeg(std::FILE* file, int32_t* outWidth, int32_t* outHeight) {
    if (!file) return nullptr;
    return decodeWith(attachFile, file, 0, outWidth, outHeight);
}

uint8_t* decodeJpegFromMemory(const uint8_t* data, size_t size, int32_t* outWidth,
                              int32_t* outHeight) {
    if (!data) return nullptr;
    return decodeWith(attachMemory, data, size, outWidth, outHeight);
}

void rgbTriplesToPixels(const uint8_t* rgb, int32_t pictureWidth, int32_t pictureHeight,
                        uint32_t* pixels, int32_t width, int32_t height) {
    if (!rgb || !pixels || width <= 0 || height <= 0 || pictureWidth <= 0 || pictureHeight <= 0)
        return;
    float stepX = float(pictureWidth) / float(width);
    float stepY = float(pictureHeight) / float(height);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* sourceRow =
            rgb + size_t(nearestIndex(stepY, y, pictureHeight)) * size_t(pictureWidth) * 3;
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t* triple = sourceRow + size_t(nearestIndex(stepX, x, pictureWidth)) * 3;
            pixels[size_t(y) * size_t(width) + x] = 0xFF000000u | uint32_t(triple[0]) << 16 |
                                                    uint32_t(triple[1]) << 8 | triple[2];
        }
    }
}

bool readJpegPixels(const char* fileName, uint32_t* pixels, int32_t width, int32_t height) {
    std::FILE* file = openDataFile(fileName, "rb");
    if (!file) {
        std::fprintf(stderr, "cannot open JPEG picture %s; the demo cannot go on without it\n",
                     fileName ? fileName : "(null)");
        std::exit(1);
    }
    int32_t pictureWidth = 0, pictureHeight = 0;
    uint8_t* rgb = decodeJpeg(file, &pictureWidth, &pictureHeight);
    std::fclose(file);
    if (!rgb) {
        std::fprintf(stderr, "JPEG picture %s could not be decoded; the bitmap keeps its contents\n",
                     fileName);
        return false;
    }
    if (pictureWidth != width || pictureHeight != height)
        std::fprintf(stderr, "JPEG picture %s is %dx%d, expected %dx%d; resampled to fit\n",
                     fileName, pictureWidth, pictureHeight, width, height);
    rgbTriplesToPixels(rgb, pictureWidth, pictureHeight, pixels, width, height);
    std::free(rgb);
    return true;
}
