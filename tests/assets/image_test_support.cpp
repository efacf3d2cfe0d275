#include "image_test_support.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <jpeglib.h>

namespace imagetest {

TempDir::TempDir() {
    char pattern[] = "/tmp/imagetestXXXXXX";
    if (!::mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

GuardedPixels::GuardedPixels(size_t count, uint32_t fill) {
    const size_t page = size_t(::sysconf(_SC_PAGESIZE));
    const size_t bytes = count * sizeof(uint32_t);
    const size_t usable = (bytes + page - 1) / page * page;
    mappingSize_ = usable + page;
    mapping_ = ::mmap(nullptr, mappingSize_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping_ == MAP_FAILED) throw std::runtime_error("mmap failed");
    char* base = static_cast<char*>(mapping_);
    if (::mprotect(base + usable, page, PROT_NONE) != 0) throw std::runtime_error("mprotect failed");
    pixels_ = reinterpret_cast<uint32_t*>(base + usable - bytes);
    for (size_t i = 0; i < count; ++i) pixels_[i] = fill;
}

GuardedPixels::~GuardedPixels() {
    ::munmap(mapping_, mappingSize_);
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<uint8_t> pcxWithStream(const std::vector<uint8_t>& stream) {
    std::vector<uint8_t> file(128, 0);
    file.insert(file.end(), stream.begin(), stream.end());
    return file;
}

bool imageMagickAvailable() {
    return std::system("convert -version > /dev/null 2>&1") == 0;
}

bool writePcxWithImageMagick(const std::string& pcxPath, int width, int height,
                             const std::vector<uint8_t>& rgb) {
    const std::string ppmPath = pcxPath + ".ppm";
    std::string header = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    std::vector<uint8_t> ppm(header.begin(), header.end());
    ppm.insert(ppm.end(), rgb.begin(), rgb.end());
    writeFile(ppmPath, ppm);
    const std::string command =
        "convert '" + ppmPath + "' -type TrueColor '" + pcxPath + "' > /dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

std::vector<uint8_t> encodeJpeg(const std::vector<uint8_t>& samples, int width, int height,
                                int components, int quality) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = components;
    info.in_color_space = components == 3 ? JCS_RGB : components == 1 ? JCS_GRAYSCALE : JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data() +
                                            size_t(info.next_scanline) * size_t(width) * size_t(components));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<uint8_t> result(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return result;
}

}  // namespace imagetest
