#include "image_test_support.h"

#include <cstdlib>

namespace imagetest {

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
    writeFileBytes(ppmPath, ppm);
    const std::string command =
        "convert '" + ppmPath + "' -type TrueColor '" + pcxPath + "' > /dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

}  // namespace imagetest
