// JPEG decoding through libjpeg: colour and grey pictures, pictures of another size than
// asked for, data the library rejects, and a file that cannot be opened.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "assets/ImageFactory.h"
#include "assets/JpegReader.h"
#include "core/Bitmap.h"
#include "image_test_support.h"

namespace {


constexpr uint32_t kUntouched = 0x12345678;

// A smooth colour picture that survives JPEG compression closely.
std::vector<uint8_t> gradient(int width, int height) {
    std::vector<uint8_t> rgb;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            rgb.insert(rgb.end(), {uint8_t(x * 255 / width), uint8_t(y * 255 / height), 0x60});
    return rgb;
}

int channelDistance(uint32_t pixel, uint8_t r, uint8_t g, uint8_t b) {
    int dr = std::abs(int(pixel >> 16 & 0xFF) - r);
    int dg = std::abs(int(pixel >> 8 & 0xFF) - g);
    int db = std::abs(int(pixel & 0xFF) - b);
    return std::max(dr, std::max(dg, db));
}

// The decoded triples of a JPEG, as independent reference for the loaders' pixels.
struct Decoded {
    std::vector<uint8_t> rgb;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t pixel(int32_t x, int32_t y) const {
        const uint8_t* t = &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3];
        return 0xFF000000u | uint32_t(t[0]) << 16 | uint32_t(t[1]) << 8 | t[2];
    }
};

Decoded decode(const std::vector<uint8_t>& jpeg) {
    Decoded result;
    uint8_t* rgb = decodeJpegFromMemory(jpeg.data(), jpeg.size(), &result.width, &result.height);
    if (rgb) {
        result.rgb.assign(rgb, rgb + size_t(result.width) * size_t(result.height) * 3);
        std::free(rgb);
    }
    return result;
}

class JpegReader : public testing::Test {
protected:
    std::string writeJpeg(const std::string& name, const std::vector<uint8_t>& jpeg) {
        std::string path = dir.file(name);
        writeFileBytes(path, jpeg);
        return path;
    }
    TempDir dir;
};

TEST_F(JpegReader, ColourPictureDecodesIntoSameSizeTargetWithTopByteSet) {
    std::vector<uint8_t> source = gradient(256, 256);
    std::vector<uint8_t> jpeg = encodeJpeg(source, 256, 256, 3);
    std::string path = writeJpeg("colour.JPG", jpeg);

    Bitmap target(256, 256);
    testing::internal::CaptureStdout();
    {
        VEX_ImageFactory factory;
        factory.loadInto(&target, path.c_str(), 256, 256, false, 1);
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "VEX_ImageFactory constructor gets called \ntrying to load " + path +
                  " with loader number 1. \n");

    Decoded reference = decode(jpeg);
    ASSERT_EQ(reference.width, 256);
    ASSERT_EQ(reference.height, 256);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            uint32_t pixel = target.pixels[y * 256 + x];
            ASSERT_EQ(pixel, reference.pixel(x, y));
            const uint8_t* s = &source[(size_t(y) * 256 + size_t(x)) * 3];
            ASSERT_LE(channelDistance(pixel, s[0], s[1], s[2]), 8) << x << "," << y;
        }
    }
}

TEST_F(JpegReader, SmallerPictureIsEnlargedThroughScaleInto) {
    std::vector<uint8_t> jpeg = encodeJpeg(gradient(128, 128), 128, 128, 3);
    std::string path = writeJpeg("small.jpg", jpeg);
    Decoded reference = decode(jpeg);

    Bitmap target(256, 256);
    testing::internal::CaptureStdout();
    JpgLoader().loadInto(&target, path.c_str(), 128, 128, false, 1);
    // The temporary 128 x 128 bitmap goes when the load is done.
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "deallocated internal Bitmap buffer \n");
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            ASSERT_EQ(target.pixels[y * 256 + x], reference.pixel(x / 2, y / 2)) << x << "," << y;
}

TEST_F(JpegReader, PictureOfAnotherSizeIsResampledNotOverflowed) {
    std::vector<uint8_t> jpeg = encodeJpeg(gradient(64, 48), 64, 48, 3);
    std::string path = writeJpeg("wrongsize.jpg", jpeg);
    Decoded reference = decode(jpeg);

    // Larger than asked for: halved into exactly 32 x 24 pixels, the guard page after them.
    GuardedBuffer<uint32_t> shrunk(32 * 24, kUntouched);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(readJpegPixels(path.c_str(), shrunk.data(), 32, 24));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("wrongsize.jpg"), std::string::npos);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 32; ++x) ASSERT_EQ(shrunk[size_t(y) * 32 + x], reference.pixel(2 * x, 2 * y));

    // Smaller than asked for: stretched, every pixel written.
    GuardedBuffer<uint32_t> stretched(128 * 96, kUntouched);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(readJpegPixels(path.c_str(), stretched.data(), 128, 96));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(stretched[0], reference.pixel(0, 0));
    EXPECT_EQ(stretched[128 * 96 - 1], reference.pixel(63, 47));

    // Same through the loader when the caller's size matches the target but not the file.
    Bitmap target(16, 16);
    testing::internal::CaptureStderr();
    JpgLoader().loadInto(&target, path.c_str(), 16, 16, false, 1);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(target.pixels[16 * 16 - 1], reference.pixel(60, 45));
}

TEST_F(JpegReader, GreyscalePictureComesOutAsRgb) {
    std::vector<uint8_t> grey;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 24; ++x) grey.push_back(uint8_t(x * 10));
    std::string path = writeJpeg("grey.jpg", encodeJpeg(grey, 24, 16, 1));

    GuardedBuffer<uint32_t> pixels(24 * 16, kUntouched);
    ASSERT_TRUE(readJpegPixels(path.c_str(), pixels.data(), 24, 16));
    for (int i = 0; i < 24 * 16; ++i) {
        uint32_t p = pixels[size_t(i)];
        EXPECT_EQ(p >> 24, 0xFFu);
        EXPECT_EQ(p >> 16 & 0xFF, p & 0xFF);
        EXPECT_EQ(p >> 8 & 0xFF, p & 0xFF);
        EXPECT_LE(channelDistance(p, grey[size_t(i)], grey[size_t(i)], grey[size_t(i)]), 6);
    }
}

TEST_F(JpegReader, RejectedDataPrintsTheLibraryMessageAndLeavesTargetAlone) {
    std::string garbage = writeJpeg("garbage.jpg", {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'});
    std::vector<uint32_t> target(4, kUntouched);

    testing::internal::CaptureStderr();
    EXPECT_FALSE(readJpegPixels(garbage.c_str(), target.data(), 2, 2));
    std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_NE(messages.find("Not a JPEG file"), std::string::npos) << messages;
    EXPECT_NE(messages.find("garbage.jpg"), std::string::npos) << messages;
    EXPECT_EQ(target, std::vector<uint32_t>(4, kUntouched));

    // Loading goes on: through a temporary bitmap the target is not touched either, and a good
    // picture loads afterwards.
    Bitmap bitmap(2, 2);
    for (int i = 0; i < 4; ++i) bitmap.pixels[i] = kUntouched;
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    JpgLoader().loadInto(&bitmap, garbage.c_str(), 4, 4, false, 1);
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(bitmap.pixels[3], kUntouched);

    std::string good = writeJpeg("good.jpg", encodeJpeg(gradient(2, 2), 2, 2, 3));
    EXPECT_TRUE(readJpegPixels(good.c_str(), target.data(), 2, 2));
    EXPECT_EQ(target[0] >> 24, 0xFFu);
}

TEST_F(JpegReader, BrokenAndHostileDataNeverCrash) {
    std::vector<uint8_t> jpeg = encodeJpeg(gradient(40, 30), 40, 30, 3);
    int32_t width = -1, height = -1;
    size_t scanStart = 0;
    for (size_t i = 0; i + 1 < jpeg.size() && !scanStart; ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA) scanStart = i;
    ASSERT_NE(scanStart, 0u);

    testing::internal::CaptureStderr();
    EXPECT_EQ(decodeJpegFromMemory(jpeg.data(), 0, &width, &height), nullptr);
    // Cut inside the header.
    EXPECT_EQ(decodeJpegFromMemory(jpeg.data(), 100, &width, &height), nullptr);
    // Cut in the scan: the library warns, fills the rest and hands back a whole picture.
    size_t cutAt = scanStart + (jpeg.size() - scanStart) / 2;
    uint8_t* cut = decodeJpegFromMemory(jpeg.data(), cutAt, &width, &height);
    EXPECT_NE(cut, nullptr);
    std::free(cut);
    EXPECT_EQ(width, 40);
    EXPECT_EQ(height, 30);

    // A frame header claiming 60000 x 60000 pixels is refused before any picture memory.
    std::vector<uint8_t> huge = jpeg;
    for (size_t i = 0; i + 8 < huge.size(); ++i) {
        if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
            huge[i + 5] = 0xEA; huge[i + 6] = 0x60;  // height 60000
            huge[i + 7] = 0xEA; huge[i + 8] = 0x60;  // width 60000
            break;
        }
    }
    EXPECT_EQ(decodeJpegFromMemory(huge.data(), huge.size(), &width, &height), nullptr);

    // CMYK cannot be turned into RGB by the library: its message, no picture.
    std::vector<uint8_t> cmyk(8 * 8 * 4, 0x40);
    std::vector<uint8_t> cmykJpeg = encodeJpeg(cmyk, 8, 8, 4);
    EXPECT_EQ(decodeJpegFromMemory(cmykJpeg.data(), cmykJpeg.size(), &width, &height), nullptr);
    std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_NE(messages.find("60000x60000 pixels is too large"), std::string::npos) << messages;
    EXPECT_NE(messages.find("Unsupported color conversion"), std::string::npos) << messages;
}

TEST_F(JpegReader, AbsurdSizesFromTheCallerNeverCrash) {
    std::string path = writeJpeg("fine.jpg", encodeJpeg(gradient(8, 8), 8, 8, 3));
    Bitmap target(8, 8);
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    JpgLoader loader;
    loader.loadInto(&target, path.c_str(), 0, 0, false, 1);
    loader.loadInto(&target, path.c_str(), -5, 8, false, 1);
    loader.loadInto(&target, path.c_str(), 2000000000, 2000000000, false, 1);
    EXPECT_EQ(loader.loadNew(path.c_str(), 8, 8, false, 1), nullptr);
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(target.pixels[63] >> 24, 0xFFu);
}

TEST_F(JpegReader, MissingFileEndsTheProcessWithAMessageNamingIt) {
    uint32_t pixel = 0;
    EXPECT_EXIT(readJpegPixels("data/none/missing-picture.jpg", &pixel, 1, 1),
                testing::ExitedWithCode(1), "missing-picture.jpg");
}

}  // namespace
