#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "TestMedia.h"
#include "audio/ModuleRenderer.h"
#include "audio/StreamDecoder.h"

namespace {

TEST(StreamDecoder, Mp3DecodesToAbout44100StereoFramesASecond) {
    const std::vector<uint8_t> mp3 = encodeSineMp3(1.0, 44100);
    std::vector<int16_t> stereo;
    ASSERT_TRUE(decodeStream(mp3.data(), mp3.size(), stereo));
    const size_t frames = stereo.size() / 2;
    // The encoder's padding is at most a few frames of 1152 samples.
    EXPECT_GE(frames, 44100u);
    EXPECT_LE(frames, 44100u + 4 * 1152u);
    int16_t peak = 0;
    size_t unequalFrames = 0;
    for (size_t i = 0; i < frames; i++) {
        unequalFrames += stereo[2 * i] != stereo[2 * i + 1];
        peak = std::max(peak, stereo[2 * i]);
    }
    EXPECT_EQ(unequalFrames, 0u);
    EXPECT_NEAR(peak, 12000, 1500);
}

TEST(StreamDecoder, Mp3AtAnotherRateIsResampledToTheOutputRate) {
    const std::vector<uint8_t> mp3 = encodeSineMp3(1.0, 22050);
    std::vector<int16_t> stereo;
    ASSERT_TRUE(decodeStream(mp3.data(), mp3.size(), stereo));
    EXPECT_GE(stereo.size() / 2, 44100u);
    EXPECT_LE(stereo.size() / 2, 44100u + 8 * 1152u);
}

TEST(StreamDecoder, MonoWavAtHalfRateIsDoubledAndInterpolated) {
    const std::vector<int16_t> mono = {0, 1000, -1000, 3000};
    const std::vector<uint8_t> wav = makeWav(22050, 1, mono);
    std::vector<int16_t> stereo;
    ASSERT_TRUE(decodeStream(wav.data(), wav.size(), stereo));
    // Every other output frame falls between two input samples.
    const std::vector<int16_t> expected = {0, 0, 500, 500, 1000, 1000, 0, 0,
                                           -1000, -1000, 1000, 1000, 3000, 3000, 3000, 3000};
    EXPECT_EQ(stereo, expected);
}

TEST(StreamDecoder, StereoWavAtTheOutputRateIsTakenAsItIs) {
    const std::vector<int16_t> samples = {1, -2, 32767, -32768, 7, 8};
    const std::vector<uint8_t> wav = makeWav(44100, 2, samples);
    std::vector<int16_t> stereo;
    ASSERT_TRUE(decodeStream(wav.data(), wav.size(), stereo));
    EXPECT_EQ(stereo, samples);
}

TEST(StreamDecoder, RefusesWhatIsNoStream) {
    std::vector<int16_t> stereo;
    const std::string text = "This is a plain text file and no music at all.\n";
    EXPECT_FALSE(decodeStream(reinterpret_cast<const uint8_t*>(text.data()), text.size(), stereo));
    const std::vector<uint8_t> mod = makeTinyMod(2);
    EXPECT_FALSE(decodeStream(mod.data(), mod.size(), stereo));
    // A WAV whose header promises more than the file holds, and one of 24-bit samples.
    std::vector<uint8_t> truncated = makeWav(44100, 2, {1, 2, 3, 4});
    truncated.resize(44);
    EXPECT_FALSE(decodeStream(truncated.data(), truncated.size(), stereo));
    std::vector<uint8_t> wide = makeWav(44100, 2, {1, 2, 3, 4});
    wide[34] = 24;
    EXPECT_FALSE(decodeStream(wide.data(), wide.size(), stereo));
    // An MP3 cut to its first bytes.
    const std::vector<uint8_t> mp3 = encodeSineMp3(0.2, 44100);
    EXPECT_FALSE(decodeStream(mp3.data(), 3, stereo));
    EXPECT_FALSE(decodeStream(nullptr, 0, stereo));
}

TEST(ModuleRenderer, LoadsModulesOnly) {
    const std::vector<uint8_t> mod = makeTinyMod(2);
    EXPECT_NE(ModuleRenderer::load(mod.data(), mod.size()), nullptr);
    const std::vector<uint8_t> mp3 = encodeSineMp3(0.2, 44100);
    EXPECT_EQ(ModuleRenderer::load(mp3.data(), mp3.size()), nullptr);
    const std::string text = "This is a plain text file and no music at all.\n";
    EXPECT_EQ(ModuleRenderer::load(reinterpret_cast<const uint8_t*>(text.data()), text.size()), nullptr);
}

// No dither noise: two renders of one module are the same samples.
TEST(ModuleRenderer, RendersTheSameSamplesEveryTime) {
    const std::vector<uint8_t> mod = makeTinyMod(8);
    std::vector<int16_t> renders[2];
    for (std::vector<int16_t>& stereo : renders) {
        std::unique_ptr<ModuleRenderer> module = ModuleRenderer::load(mod.data(), mod.size());
        ASSERT_NE(module, nullptr);
        stereo.assign(2 * 22050, 0);
        ASSERT_EQ(module->render(stereo.data(), 22050), 22050u);
    }
    // Sound, not silence, on most samples.
    EXPECT_LT(std::count(renders[0].begin(), renders[0].end(), int16_t{0}), 22050);
    EXPECT_TRUE(renders[0] == renders[1]);
}

}  // namespace
