// One test for each fault fuzzing found, on the input it was found with, asserting the
// sound behaviour that replaced it.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#if __has_include("audio/StreamDecoder.h")
#include "audio/StreamDecoder.h"
#define HAVE_STREAM_DECODER 1
#endif

namespace {

std::vector<uint8_t> keptInput(const std::string& name) {
    std::vector<uint8_t> bytes;
    const std::string path = std::string(TEST_SOURCE_DIR "/tests/regression/") + name;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        uint8_t chunk[4096];
        size_t got;
        while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
            bytes.insert(bytes.end(), chunk, chunk + got);
        std::fclose(file);
    }
    EXPECT_FALSE(bytes.empty()) << path << " is missing";
    return bytes;
}

}  // namespace

#ifdef HAVE_STREAM_DECODER
// A WAV declaring 1 Hz: resampling its 32768 samples to 44100 Hz asked for 5.8 GB.
TEST(FuzzFindings, WavWithATinySampleRateIsRefused) {
    std::vector<uint8_t> file = keptInput("music/wav_rate_1hz_huge_resample");
    ASSERT_GT(file.size(), 3u);
    std::vector<int16_t> stereo;
    EXPECT_FALSE(decodeStream(file.data() + 3, file.size() - 3, stereo));  // after the flag bytes
    EXPECT_TRUE(stereo.empty());
}

// The same file at a plain rate still plays: only the rate made it hostile.
TEST(FuzzFindings, WavAtALowButRealRateStillPlays) {
    std::vector<uint8_t> file = keptInput("music/wav_rate_1hz_huge_resample");
    ASSERT_GT(file.size(), 3u + 28);
    std::vector<uint8_t> wav(file.begin() + 3, file.end());
    const uint32_t rate = 8000, byteRate = 16000;
    for (int i = 0; i < 4; ++i) {
        wav[24 + i] = uint8_t(rate >> (8 * i));
        wav[28 + i] = uint8_t(byteRate >> (8 * i));
    }
    std::vector<int16_t> stereo;
    ASSERT_TRUE(decodeStream(wav.data(), wav.size(), stereo));
    EXPECT_EQ(stereo.size(), size_t(32768) * 44100 / 8000 * 2);
}
#endif
