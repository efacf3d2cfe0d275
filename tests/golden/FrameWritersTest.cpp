#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FrameWriters.h"
#include "support/TempDir.h"

namespace {

std::string tempPath(const std::string& name) {
    static const TempDir folder;
    return folder.file(name);
}

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST(FrameCrc, CoversTheShownBitsOnly) {
    std::vector<uint32_t> a = {0x00123456, 0x00ABCDEF}, b = {0xFF123456, 0x7FABCDEF}, c = {0x00123456, 0x00ABCDEE};
    EXPECT_EQ(frameCrc(a.data(), 2, 1), frameCrc(b.data(), 2, 1));
    EXPECT_NE(frameCrc(a.data(), 2, 1), frameCrc(c.data(), 2, 1));
    // R, G, B in that order: these pixels spell "123456789", whose CRC-32 is the standard check value.
    std::vector<uint32_t> digits = {0x00313233, 0x00343536, 0x00373839};
    EXPECT_EQ(frameCrc(digits.data(), 3, 1), 0xCBF43926u);
}

TEST(RgbToYuv, GreysHaveNeutralChromaAndPrimariesTheFullRangeValues) {
    uint8_t y, u, v;
    for (uint32_t grey : {0u, 1u, 77u, 128u, 254u, 255u}) {
        rgbToYuv(grey * 0x010101u | 0xFF000000u, y, u, v);
        EXPECT_EQ(y, grey);
        EXPECT_EQ(u, 128);
        EXPECT_EQ(v, 128);
    }
    rgbToYuv(0xFF0000, y, u, v);   // red: Y = 0.299 * 255, V at the top of its range
    EXPECT_EQ(y, 76);
    EXPECT_EQ(u, 85);
    EXPECT_EQ(v, 255);
    rgbToYuv(0x0000FF, y, u, v);   // blue: U at the top
    EXPECT_EQ(y, 29);
    EXPECT_EQ(u, 255);
    EXPECT_EQ(v, 107);
}

TEST(WriteFramePng, ReadsBackAsTheSamePixels) {
    const int32_t width = 5, height = 3;
    std::vector<uint32_t> pixels(width * height);
    for (size_t i = 0; i < pixels.size(); i++) pixels[i] = 0xAB000000u | static_cast<uint32_t>(i * 0x0F1E2D);
    const std::string path = tempPath("frame.png");
    ASSERT_TRUE(writeFramePng(path, pixels.data(), width, height));

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
    EXPECT_EQ(image.width, 5u);
    EXPECT_EQ(image.height, 3u);
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    for (size_t i = 0; i < pixels.size(); i++) {
        const uint32_t back = rgb[i * 3] << 16 | rgb[i * 3 + 1] << 8 | rgb[i * 3 + 2];
        EXPECT_EQ(back, pixels[i] & 0xFFFFFF) << "pixel " << i;
    }
    std::filesystem::remove(path);
}

TEST(WriteFramePng, FailsOnAPathThatCannotBeCreated) {
    uint32_t pixel = 0;
    EXPECT_FALSE(writeFramePng("/nonexistent-folder/frame.png", &pixel, 1, 1));
}

TEST(Y4mWriter, WritesHeaderThenOneFramePerCallWithTheThreePlanes) {
    const std::string path = tempPath("stream.y4m");
    Y4mWriter writer;
    ASSERT_TRUE(writer.open(path, 2, 1, 25));
    const uint32_t first[2] = {0xFFFFFF, 0x000000};
    const uint32_t second[2] = {0x0000FF, 0x808080};
    ASSERT_TRUE(writer.writeFrame(first));
    ASSERT_TRUE(writer.writeFrame(second));
    ASSERT_TRUE(writer.close());

    const std::string header = "YUV4MPEG2 W2 H1 F25:1 Ip A1:1 C444 XCOLORRANGE=FULL\n";
    std::string expected = header + "FRAME\n";
    expected += std::string("\xFF\x00\x80\x80\x80\x80", 6);   // Y plane, U plane, V plane
    expected += "FRAME\n";
    expected += std::string("\x1D\x80\xFF\x80\x6B\x80", 6);
    EXPECT_EQ(readFile(path), expected);
    std::filesystem::remove(path);
}

TEST(Y4mWriter, ReportsAFileThatCannotBeOpenedAndRefusesFramesThen) {
    Y4mWriter writer;
    EXPECT_FALSE(writer.open("/nonexistent-folder/stream.y4m", 2, 2, 60));
    const uint32_t pixels[4] = {};
    EXPECT_FALSE(writer.writeFrame(pixels));
}

TEST(Y4mWriter, DashWritesToTheStandardOutputOfTheMomentOfOpening) {
    const std::string path = tempPath("stdout.y4m");
    std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    std::FILE* target = std::fopen(path.c_str(), "wb");
    ASSERT_NE(target, nullptr);
    dup2(fileno(target), STDOUT_FILENO);
    Y4mWriter writer;
    const bool opened = writer.open("-", 1, 1, 30);
    // What the program prints afterwards must not land in the stream.
    dup2(saved, STDOUT_FILENO);
    std::printf("not part of the stream\n");
    std::fflush(stdout);
    const uint32_t pixel = 0;
    const bool wrote = opened && writer.writeFrame(&pixel);
    const bool closed = writer.close();
    std::fclose(target);
    close(saved);
    EXPECT_TRUE(opened && wrote && closed);
    EXPECT_EQ(readFile(path),
              "YUV4MPEG2 W1 H1 F30:1 Ip A1:1 C444 XCOLORRANGE=FULL\nFRAME\n" + std::string("\x00\x80\x80", 3));
    std::filesystem::remove(path);
}

}  // namespace
