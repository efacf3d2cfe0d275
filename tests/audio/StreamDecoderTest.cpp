#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

#include "TestMedia.h"
#include "audio/ModuleRenderer.h"
#include "audio/StreamDecoder.h"

namespace {

// The conversion done on a whole source at once, as a reference for the piecewise one.
std::vector<int16_t> wholeConversion(int rate, int channels, const std::vector<int16_t>& samples) {
    const size_t inFrames = samples.size() / channels;
    const uint64_t step = (static_cast<uint64_t>(rate) << 32) / 44100;
    const size_t outFrames = static_cast<size_t>(static_cast<uint64_t>(inFrames) * 44100 / rate);
    std::vector<int16_t> stereo(2 * outFrames);
    uint64_t position = 0;
    for (size_t i = 0; i < outFrames; i++, position += step) {
        const size_t a = static_cast<size_t>(position >> 32);
        const size_t b = a + 1 < inFrames ? a + 1 : a;
        const int64_t fraction = static_cast<int64_t>((position >> 16) & 0xffff);
        for (int c = 0; c < 2; c++) {
            const int64_t s0 = samples[a * channels + (channels == 2 ? c : 0)];
            const int64_t s1 = samples[b * channels + (channels == 2 ? c : 0)];
            stereo[2 * i + c] = static_cast<int16_t>(s0 + (((s1 - s0) * fraction) >> 16));
        }
    }
    return stereo;
}

// Reads the rest of a stream in pieces of random sizes.
std::vector<int16_t> readInPieces(OutputStream& stream, std::mt19937& random, size_t largest) {
    std::vector<int16_t> all, piece(2 * largest);
    for (;;) {
        const size_t want = std::uniform_int_distribution<size_t>(1, largest)(random);
        const size_t got = stream.read(piece.data(), want);
        all.insert(all.end(), piece.begin(), piece.begin() + 2 * got);
        if (got < want) return all;
    }
}

// Any split of the reads, a rewind and a seek give the frames of the whole conversion: the
// resampling position carries over from piece to piece and over the source's own pieces.
TEST(StreamDecoder, PiecewiseReadsGiveTheWholeConversionAtEveryRate) {
    std::mt19937 random(15);
    const int formats[][2] = {{22050, 1}, {48000, 2}, {11025, 2}, {44100, 1}, {44100, 2}, {32000, 1}};
    for (const auto& format : formats) {
        SCOPED_TRACE(testing::Message() << format[0] << " Hz, " << format[1] << " channels");
        std::vector<int16_t> samples(20011 * format[1]);
        for (int16_t& sample : samples) sample = static_cast<int16_t>(random());
        const std::vector<int16_t> expected = wholeConversion(format[0], format[1], samples);
        std::unique_ptr<OutputStream> stream = openOutputStream(makeWav(format[0], format[1], samples));
        ASSERT_NE(stream, nullptr);
        EXPECT_EQ(readInPieces(*stream, random, 700), expected);
        EXPECT_TRUE(stream->atEnd());
        stream->rewind();
        EXPECT_EQ(readInPieces(*stream, random, 50000), expected);
        const size_t frame = std::uniform_int_distribution<size_t>(0, expected.size() / 2)(random);
        ASSERT_TRUE(stream->seek(frame));
        EXPECT_EQ(readInPieces(*stream, random, 3000),
                  std::vector<int16_t>(expected.begin() + 2 * frame, expected.end()));
        EXPECT_FALSE(stream->seek(expected.size() / 2 + 1));
        EXPECT_TRUE(stream->atEnd());
    }
}

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
    // Played again from the start (as a loop does) the decoder gives the same samples.
    std::unique_ptr<OutputStream> stream = openOutputStream(mp3);
    ASSERT_NE(stream, nullptr);
    std::mt19937 random(22050);
    EXPECT_EQ(readInPieces(*stream, random, 3000), stereo);
    stream->rewind();
    EXPECT_EQ(readInPieces(*stream, random, 300), stereo);
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
