// Decoding rules of the run-length PCX stream, conversion into the target, and bad input.
#include <gtest/gtest.h>

#include <vector>

#include "assets/PcxDecoder.h"
#include "image_test_support.h"

namespace {

using imagetest::pcxWithStream;

constexpr uint32_t kUntouched = 0xDEADBEEF;

// Decodes `stream` as a sourceWidth x sourceHeight picture into a target of the same size.
std::vector<uint32_t> decodeSameSize(const std::vector<uint8_t>& stream, int32_t width,
                                     int32_t height, int32_t* status = nullptr) {
    std::vector<uint32_t> target(size_t(width) * size_t(height), kUntouched);
    std::vector<uint8_t> file = pcxWithStream(stream);
    int32_t result = decodePcxFromMemory(file.data(), file.size(), width, height, target.data(),
                                         width, height, false);
    if (status) *status = result;
    return target;
}

// Plane bytes of a picture whose bytes are all below 0xC0, so the stream is the bytes
// themselves as literals. Red = x % 192, green = y % 192, blue = (x + y) % 7.
std::vector<uint8_t> literalStream(int32_t width, int32_t height) {
    std::vector<uint8_t> stream;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) stream.push_back(uint8_t(x % 192));
        for (int32_t x = 0; x < width; ++x) stream.push_back(uint8_t(y % 192));
        for (int32_t x = 0; x < width; ++x) stream.push_back(uint8_t((x + y) % 7));
    }
    return stream;
}

uint32_t literalPixel(int32_t x, int32_t y) {
    return uint32_t(x % 192) << 16 | uint32_t(y % 192) << 8 | uint32_t((x + y) % 7);
}

TEST(PcxDecoder, RunCodeRepeatsTheNextByte) {
    int32_t status = -2;
    EXPECT_EQ(decodeSameSize({0xC3, 0x10}, 1, 1, &status)[0], 0x00101010u);
    EXPECT_EQ(status, 0);
}

TEST(PcxDecoder, ZeroLengthRunEmitsNothing) {
    EXPECT_EQ(decodeSameSize({0xC0, 0x55, 0x20, 0x30, 0x40}, 1, 1)[0], 0x00203040u);
}

TEST(PcxDecoder, BytesBelowC0AreLiteralsAndEscapedBytesCarryTheirValue) {
    EXPECT_EQ(decodeSameSize({0xBF, 0x00, 0xC1, 0xC5}, 1, 1)[0], 0x00BF00C5u);
}

TEST(PcxDecoder, RedAndGreyPixels) {
    EXPECT_EQ(decodeSameSize({0xC1, 0xFF, 0x00, 0x00}, 1, 1)[0], 0x00FF0000u);
    EXPECT_EQ(decodeSameSize({0x80, 0x80, 0x80}, 1, 1)[0], 0x00808080u);

    std::vector<uint8_t> grey = pcxWithStream({0x80, 0x80, 0x80});
    std::vector<uint32_t> scaled(6, kUntouched);
    ASSERT_EQ(decodePcxFromMemory(grey.data(), grey.size(), 3, 2, scaled.data(), 1, 1, true), 0);
    for (uint32_t pixel : scaled) EXPECT_EQ(pixel, 0x00808080u);
}

TEST(PcxDecoder, RunsCarryAcrossPlaneAndRowEnds) {
    // 2 x 2: five 0x11 fill red and green of row 0 and the first blue; four 0x22 finish
    // row 0 and start row 1.
    std::vector<uint32_t> pixels =
        decodeSameSize({0xC5, 0x11, 0xC4, 0x22, 0x33, 0xC2, 0x44}, 2, 2);
    EXPECT_EQ(pixels, (std::vector<uint32_t>{0x111111, 0x111122, 0x222244, 0x223344}));
}

TEST(PcxDecoder, StreamEndingEarlyLeavesTargetUnchanged) {
    const std::vector<std::vector<uint8_t>> truncated = {
        {},                   // no pixel data at all
        {0x10, 0x20},         // one byte short
        {0x10, 0x20, 0xC1},   // run code without its value
    };
    for (const auto& stream : truncated) {
        int32_t status = 0;
        EXPECT_EQ(decodeSameSize(stream, 1, 1, &status)[0], kUntouched);
        EXPECT_EQ(status, -1);
    }
    std::vector<uint8_t> headerOnly(100, 0);
    uint32_t pixel = kUntouched;
    EXPECT_EQ(decodePcxFromMemory(headerOnly.data(), headerOnly.size(), 1, 1, &pixel, 1, 1, false), -1);
    EXPECT_EQ(pixel, kUntouched);
}

TEST(PcxDecoder, RunPastTheLastPixelIsCutAndAWholeRowPastFails) {
    // A 2 x 1 picture holds 6 bytes. 11 bytes stay within the row after it: cut, success.
    GuardedBuffer<uint32_t> cut(2, kUntouched);
    std::vector<uint8_t> shortOver = pcxWithStream({0xCB, 0x80});
    EXPECT_EQ(decodePcxFromMemory(shortOver.data(), shortOver.size(), 2, 1, cut.data(), 2, 1, false), 0);
    EXPECT_EQ(cut[0], 0x00808080u);
    EXPECT_EQ(cut[1], 0x00808080u);

    // 12 bytes carry a whole row past the picture: failure, target unchanged.
    GuardedBuffer<uint32_t> failed(2, kUntouched);
    std::vector<uint8_t> rowOver = pcxWithStream({0xCC, 0x80});
    EXPECT_EQ(decodePcxFromMemory(rowOver.data(), rowOver.size(), 2, 1, failed.data(), 2, 1, false), -1);
    EXPECT_EQ(failed[0], kUntouched);
    EXPECT_EQ(failed[1], kUntouched);
}

TEST(PcxDecoder, WithoutScaleCopiesTheOverlapToTheTopLeft) {
    std::vector<uint8_t> file = pcxWithStream(literalStream(512, 384));

    // A shorter target gets the picture's top rows.
    GuardedBuffer<uint32_t> strip(512 * 80, kUntouched);
    ASSERT_EQ(decodePcxFromMemory(file.data(), file.size(), 512, 80, strip.data(), 512, 384, false), 0);
    for (int32_t y = 0; y < 80; y += 13)
        for (int32_t x = 0; x < 512; x += 7) ASSERT_EQ(strip[size_t(y) * 512 + x], literalPixel(x, y));
    EXPECT_EQ(strip[512 * 80 - 1], literalPixel(511, 79));

    // A larger target gets the picture in its top-left corner and keeps the rest.
    std::vector<uint32_t> big(1024 * 1024, kUntouched);
    ASSERT_EQ(decodePcxFromMemory(file.data(), file.size(), 1024, 1024, big.data(), 512, 384, false), 0);
    for (int32_t y = 0; y < 1024; y += 11) {
        for (int32_t x = 0; x < 1024; x += 5) {
            uint32_t expected = (x < 512 && y < 384) ? literalPixel(x, y) : kUntouched;
            ASSERT_EQ(big[size_t(y) * 1024 + x], expected) << x << "," << y;
        }
    }
    EXPECT_EQ(big[383 * 1024 + 511], literalPixel(511, 383));
    EXPECT_EQ(big[383 * 1024 + 512], kUntouched);
    EXPECT_EQ(big[384 * 1024], kUntouched);
}

TEST(PcxDecoder, ScaleResamplesToTheWholeTarget) {
    std::vector<uint8_t> file = pcxWithStream(literalStream(256, 256));
    GuardedBuffer<uint32_t> target(512 * 384, kUntouched);
    ASSERT_EQ(decodePcxFromMemory(file.data(), file.size(), 512, 384, target.data(), 256, 256, true), 0);
    // Columns repeat twice; rows follow trunc(y * 0.6666667).
    const int32_t rowsFor[] = {0, 0, 1, 2, 2, 3, 4, 4, 5, 6};
    for (int32_t y = 0; y < 10; ++y)
        for (int32_t x = 0; x < 512; ++x)
            ASSERT_EQ(target[size_t(y) * 512 + x], literalPixel(x / 2, rowsFor[y])) << x << "," << y;
    EXPECT_EQ(target[512 * 384 - 1], literalPixel(255, 255));

    // Shrinking 3 x 3 to 2 x 2 takes columns and rows 0 and 1 (step 1.5, truncated).
    std::vector<uint8_t> small = pcxWithStream(literalStream(3, 3));
    GuardedBuffer<uint32_t> shrunk(4, kUntouched);
    ASSERT_EQ(decodePcxFromMemory(small.data(), small.size(), 2, 2, shrunk.data(), 3, 3, true), 0);
    EXPECT_EQ(shrunk[0], literalPixel(0, 0));
    EXPECT_EQ(shrunk[1], literalPixel(1, 0));
    EXPECT_EQ(shrunk[2], literalPixel(0, 1));
    EXPECT_EQ(shrunk[3], literalPixel(1, 1));
}

TEST(PcxDecoder, OddTargetSizesStayInsideTheirBuffer) {
    std::vector<uint8_t> file = pcxWithStream(literalStream(37, 23));
    for (int32_t width : {1, 5, 36, 37, 38, 101}) {
        for (int32_t height : {1, 7, 23, 24, 61}) {
            for (bool scale : {false, true}) {
                GuardedBuffer<uint32_t> target(size_t(width) * size_t(height), kUntouched);
                ASSERT_EQ(decodePcxFromMemory(file.data(), file.size(), width, height,
                                              target.data(), 37, 23, scale), 0);
                size_t last = size_t(width) * size_t(height) - 1;
                if (scale || (width <= 37 && height <= 23)) {
                    EXPECT_NE(target[last], kUntouched) << width << "x" << height;
                }
            }
        }
    }
}

TEST(PcxDecoder, SizesOutOfRangeNeverCrash) {
    std::vector<uint8_t> file = pcxWithStream(literalStream(4, 4));
    uint32_t pixel = kUntouched;
    const int32_t badSizes[][2] = {{0, 4}, {4, 0}, {-4, 4}, {4, -1}, {100000, 100000}, {2147483647, 2}};
    for (const auto& size : badSizes) {
        EXPECT_EQ(decodePcxFromMemory(file.data(), file.size(), 1, 1, &pixel, size[0], size[1], true), -1);
        EXPECT_EQ(decodePcxFromMemory(file.data(), file.size(), 1, 1, &pixel, size[0], size[1], false), -1);
    }
    EXPECT_EQ(pixel, kUntouched);

    // A target with no rows or columns is not written, with or without scale.
    for (bool scale : {false, true}) {
        EXPECT_EQ(decodePcxFromMemory(file.data(), file.size(), 1, 0, &pixel, 4, 4, scale), 0);
        EXPECT_EQ(decodePcxFromMemory(file.data(), file.size(), -3, 1, &pixel, 4, 4, scale), 0);
    }
    EXPECT_EQ(pixel, kUntouched);
    EXPECT_EQ(decodePcxFromMemory(file.data(), file.size(), 4, 4, nullptr, 4, 4, false), -1);
}

TEST(PcxDecoder, FileThatCannotBeOpenedIsReportedAndLeavesTargetAlone) {
    uint32_t pixel = kUntouched;
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    EXPECT_EQ(decodePcx("no/such/folder/picture.pcx", 1, 1, &pixel, 1, 1, false), -1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("no/such/folder/picture.pcx"), std::string::npos);
    EXPECT_EQ(pixel, kUntouched);
}

TEST(PcxDecoder, FileEndingEarlyIsReportedAndLeavesTargetAlone) {
    TempDir dir;
    std::string path = dir.file("short.pcx");
    writeFileBytes(path, pcxWithStream({0x10, 0x20, 0x30, 0x40}));
    std::vector<uint32_t> target(4, kUntouched);
    testing::internal::CaptureStderr();
    EXPECT_EQ(decodePcx(path.c_str(), 2, 2, target.data(), 2, 2, false), -1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find(path), std::string::npos);
    EXPECT_EQ(target, std::vector<uint32_t>(4, kUntouched));
}

}  // namespace
