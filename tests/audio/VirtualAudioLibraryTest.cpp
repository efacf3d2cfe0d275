#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "TestMedia.h"
#include "support/FileBytes.h"
#include "audio/AudioErrors.h"
#include "audio/StreamDecoder.h"
#include "audio/VirtualAudioLibrary.h"

namespace {

int endCalls = 0;
uint32_t endChannel = 0;
void countEnd(uint32_t, uint32_t channel, uint32_t) {
    endCalls++;
    endChannel = channel;
}

std::vector<int16_t> rampWavSamples(int frames) {
    std::vector<int16_t> samples(2 * static_cast<size_t>(frames));
    for (int i = 0; i < frames; i++) {
        samples[2 * i] = static_cast<int16_t>(i % 30000);
        samples[2 * i + 1] = static_cast<int16_t>(-(i % 30000));
    }
    return samples;
}

class VirtualAudio : public testing::Test {
protected:
    void SetUp() override {
        endCalls = 0;
        ASSERT_EQ(audio.init(-1, 44100, 0, nullptr), 1);
    }
    VirtualAudioLibrary audio;
};

TEST_F(VirtualAudio, StreamPositionFollowsTheClockAndWrapsWhenLooping) {
    const std::string path = writeTempFile("second.wav", makeWav(44100, 2, rampWavSamples(44100)));
    const uint32_t stream = audio.streamCreateFile(0, path.c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);
    EXPECT_EQ(audio.channelSetSync(stream, AudioLibrary::kSyncEnd, 0, countEnd) != 0, true);
    ASSERT_EQ(audio.streamPlay(stream, 0, AudioLibrary::kStreamLoop), 1);
    audio.setTimeSeconds(0.5);
    EXPECT_EQ(audio.channelGetPosition(stream), 88200u);
    audio.setTimeSeconds(1.0);
    EXPECT_EQ(audio.channelGetPosition(stream), 0u);
    audio.setTimeSeconds(1.25);
    EXPECT_EQ(audio.channelGetPosition(stream), 44100u);
    // The clock does not run backwards.
    audio.setTimeSeconds(0.1);
    EXPECT_EQ(audio.channelGetPosition(stream), 44100u);
    EXPECT_EQ(endCalls, 0);
}

TEST_F(VirtualAudio, NonLoopingStreamEndsOnceAndCallsItsEndSync) {
    const std::vector<uint8_t> wav = makeWav(44100, 2, rampWavSamples(4410));
    const uint32_t stream = audio.streamCreateFile(1, wav.data(), 0, static_cast<uint32_t>(wav.size()), 0);
    ASSERT_NE(stream, 0u);
    ASSERT_NE(audio.channelSetSync(stream, AudioLibrary::kSyncEnd, 0, countEnd), 0u);
    ASSERT_EQ(audio.streamPlay(stream, 0, 0), 1);
    audio.setTimeSeconds(0.05);
    EXPECT_EQ(endCalls, 0);
    audio.setTimeSeconds(0.1);
    EXPECT_EQ(endCalls, 1);
    EXPECT_EQ(endChannel, stream);
    audio.setTimeSeconds(0.5);
    EXPECT_EQ(endCalls, 1);
    EXPECT_EQ(audio.channelGetPosition(stream), 4410u * 4);
    // Playing it again starts over.
    ASSERT_EQ(audio.streamPlay(stream, 0, 0), 1);
    audio.setTimeSeconds(0.6);
    EXPECT_EQ(audio.channelGetPosition(stream), 4410u * 4);
    EXPECT_EQ(endCalls, 2);
}

TEST_F(VirtualAudio, StoppedStreamKeepsItsPosition) {
    const std::vector<uint8_t> wav = makeWav(44100, 2, rampWavSamples(44100));
    const uint32_t stream = audio.streamCreateFile(1, wav.data(), 0, static_cast<uint32_t>(wav.size()), 0);
    ASSERT_EQ(audio.streamPlay(stream, 0, AudioLibrary::kStreamLoop), 1);
    audio.setTimeSeconds(0.25);
    ASSERT_EQ(audio.channelStop(stream), 1);
    audio.setTimeSeconds(0.5);
    EXPECT_EQ(audio.channelGetPosition(stream), 44100u);
    ASSERT_EQ(audio.streamPlay(stream, 0, AudioLibrary::kStreamLoop), 1);
    audio.setTimeSeconds(0.75);
    EXPECT_EQ(audio.channelGetPosition(stream), 88200u);
}

TEST_F(VirtualAudio, SetPositionMovesAStreamToAWholeFrameAtMostItsEndAndAModuleToItsOrderAndRow) {
    const std::vector<uint8_t> wav = makeWav(44100, 2, rampWavSamples(44100));
    const uint32_t stream = audio.streamCreateFile(1, wav.data(), 0, static_cast<uint32_t>(wav.size()), 0);
    ASSERT_EQ(audio.streamPlay(stream, 0, 0), 1);
    ASSERT_EQ(audio.channelSetPosition(stream, 88203), 1);
    EXPECT_EQ(audio.channelGetPosition(stream), 88200u);
    audio.setTimeSeconds(0.25);
    EXPECT_EQ(audio.channelGetPosition(stream), 132300u);
    ASSERT_EQ(audio.channelSetPosition(stream, 0xFFFFFFF0u), 1);   // past the end: its end
    EXPECT_EQ(audio.channelGetPosition(stream), 176400u);
    ASSERT_EQ(audio.channelSetPosition(stream, 4), 1);
    EXPECT_EQ(audio.channelGetPosition(stream), 4u);
    EXPECT_EQ(audio.channelSetPosition(999, 0), 0);
    EXPECT_EQ(audio.errorGetCode(), AudioError::BadHandle);

    const std::vector<uint8_t> mod = makeTinyMod(4);
    const uint32_t module = audio.musicLoad(1, mod.data(), 0, static_cast<uint32_t>(mod.size()), 0);
    ASSERT_NE(module, 0u);
    ASSERT_EQ(audio.channelSetPosition(module, 8u << 16 | 2u), 1);
    EXPECT_EQ(audio.channelGetPosition(module), 8u << 16 | 2u);
}

// A seek decodes a second stream of the file up to the new position and swaps it in: the
// sound from there is that of playing through.
TEST_F(VirtualAudio, SeekInAnMp3PlaysOnWithTheSamplesOfPlayingThrough) {
    const std::vector<uint8_t> mp3 = encodeSineMp3(1.0, 44100);
    std::vector<int16_t> whole;
    ASSERT_TRUE(decodeStream(mp3.data(), mp3.size(), whole));
    const uint32_t stream = audio.streamCreateFile(1, mp3.data(), 0, static_cast<uint32_t>(mp3.size()), 0);
    ASSERT_EQ(audio.streamPlay(stream, 0, 0), 1);
    audio.setTimeSeconds(0.5);
    const std::string captured = writeTempFile("after-seek.wav", {});
    ASSERT_TRUE(audio.beginWavCapture(captured));
    for (uint32_t frame : {30000u, 1000u}) {
        ASSERT_EQ(audio.channelSetPosition(stream, frame * 4), 1);
        audio.setTimeSeconds(audio.framesMixed() / 44100.0 + 0.01);
    }
    ASSERT_TRUE(audio.endWavCapture());
    const std::vector<uint8_t> wav = readFileBytes(captured);
    ASSERT_EQ(wav.size(), 44u + 2 * 441 * 4);
    const auto* samples = reinterpret_cast<const int16_t*>(wav.data() + 44);
    EXPECT_TRUE(std::equal(samples, samples + 2 * 441, whole.begin() + 2 * 30000));
    EXPECT_TRUE(std::equal(samples + 2 * 441, samples + 4 * 441, whole.begin() + 2 * 1000));
}

TEST_F(VirtualAudio, ModuleReportsOrderAndRow) {
    const std::string path = writeTempFile("tiny.mod", makeTinyMod(4));
    // Neither a stream ...
    EXPECT_EQ(audio.streamCreateFile(0, path.c_str(), 0, 0, 0), 0u);
    EXPECT_EQ(audio.errorGetCode(), AudioError::FileFormat);
    // ... but a module.
    const uint32_t module = audio.musicLoad(0, path.c_str(), 0, 0, AudioLibrary::kMusicLoadFlags);
    ASSERT_NE(module, 0u);
    audio.musicSetAmplify(module, 70);
    ASSERT_EQ(audio.musicPlay(module), 1);
    EXPECT_EQ(audio.channelGetPosition(module), 0u);
    // Speed 1 at 125 BPM: a row every 20 ms, a 64-row pattern every 1.28 s.
    audio.setTimeSeconds(0.5);
    const uint32_t position = audio.channelGetPosition(module);
    EXPECT_EQ(position & 0xffff, 0u);
    EXPECT_NEAR(static_cast<double>(position >> 16), 25.0, 2.0);
    audio.setTimeSeconds(1.5);
    EXPECT_EQ(audio.channelGetPosition(module) & 0xffff, 1u);

    ASSERT_EQ(audio.musicPlayEx(module, 16u << 16 | 3u, -1, 1), 1);
    EXPECT_EQ(audio.channelGetPosition(module), 16u << 16 | 3u);
    // The loop flag of the load: after the last order it starts over, still playing.
    audio.setTimeSeconds(3.0);
    EXPECT_EQ(audio.channelGetPosition(module) & 0xffff, 0u);
}

TEST_F(VirtualAudio, NonLoopingModuleEnds) {
    const std::vector<uint8_t> mod = makeTinyMod(1);
    const uint32_t module = audio.musicLoad(1, mod.data(), 0, static_cast<uint32_t>(mod.size()), 0);
    ASSERT_NE(module, 0u);
    ASSERT_NE(audio.channelSetSync(module, AudioLibrary::kSyncEnd, 0, countEnd), 0u);
    ASSERT_EQ(audio.musicPlay(module), 1);
    audio.setTimeSeconds(1.0);
    EXPECT_EQ(endCalls, 0);
    audio.setTimeSeconds(2.0);
    EXPECT_EQ(endCalls, 1);
}

TEST_F(VirtualAudio, RefusesFilesAndCallsItCannotServe) {
    const std::string text = writeTempFile("notes.txt", {'n', 'o', ' ', 'm', 'u', 's', 'i', 'c', '\n'});
    EXPECT_EQ(audio.streamCreateFile(0, text.c_str(), 0, 0, 0), 0u);
    EXPECT_EQ(audio.errorGetCode(), AudioError::FileFormat);
    EXPECT_EQ(audio.musicLoad(0, text.c_str(), 0, 0, 5), 0u);
    EXPECT_EQ(audio.errorGetCode(), AudioError::FileFormat);
    EXPECT_EQ(audio.streamCreateFile(0, "no/such/file.mp3", 0, 0, 0), 0u);
    EXPECT_EQ(audio.errorGetCode(), AudioError::FileOpen);
    EXPECT_EQ(audio.streamPlay(12345, 0, 4), 0);
    EXPECT_EQ(audio.errorGetCode(), AudioError::BadHandle);
    EXPECT_EQ(audio.channelGetPosition(12345), 0u);
    EXPECT_EQ(audio.init(-1, 44100, 0, nullptr), 0);
    EXPECT_EQ(audio.errorGetCode(), AudioError::AlreadyInitialised);
    audio.free();
    EXPECT_EQ(audio.streamCreateFile(0, text.c_str(), 0, 0, 0), 0u);
    EXPECT_EQ(audio.errorGetCode(), AudioError::NotInitialised);
    EXPECT_EQ(audio.init(-1, 48000, 0, nullptr), 0);
    EXPECT_EQ(audio.errorGetCode(), AudioError::UnsupportedRate);
    EXPECT_EQ(audio.getVersion(), 0x60000u);
}

// A looping stream at another rate wraps to its first frame and plays the same samples again.
TEST_F(VirtualAudio, LoopingStreamRepeatsItsSamplesAfterTheWrap) {
    std::vector<int16_t> mono(1000);
    for (size_t i = 0; i < mono.size(); i++) mono[i] = static_cast<int16_t>(i * 37 % 20011 - 10000);
    const std::vector<uint8_t> wav = makeWav(22050, 1, mono);
    std::vector<int16_t> once;
    ASSERT_TRUE(decodeStream(wav.data(), wav.size(), once));
    ASSERT_EQ(once.size(), 2u * 2000u);
    const uint32_t stream = audio.streamCreateFile(1, wav.data(), 0, static_cast<uint32_t>(wav.size()), 0);
    const std::string out = testing::TempDir() + "audio_test_loop.wav";
    ASSERT_TRUE(audio.beginWavCapture(out));
    ASSERT_EQ(audio.streamPlay(stream, 0, AudioLibrary::kStreamLoop), 1);
    audio.setTimeSeconds(0.1);
    EXPECT_EQ(audio.channelGetPosition(stream), (4410u - 4000u) * 4);
    ASSERT_TRUE(audio.endWavCapture());
    const std::vector<uint8_t> bytes = readFileBytes(out);
    std::vector<int16_t> captured;
    ASSERT_TRUE(decodeStream(bytes.data(), bytes.size(), captured));
    std::vector<int16_t> expected;
    while (expected.size() < captured.size()) expected.insert(expected.end(), once.begin(), once.end());
    expected.resize(captured.size());
    ASSERT_EQ(captured.size(), 2u * 4410u);
    EXPECT_EQ(captured, expected);
}

TEST_F(VirtualAudio, CapturesTheMixToAWavFile) {
    const std::vector<int16_t> samples = rampWavSamples(4410);
    const std::vector<uint8_t> wav = makeWav(44100, 2, samples);
    const uint32_t stream = audio.streamCreateFile(1, wav.data(), 0, static_cast<uint32_t>(wav.size()), 0);
    const std::string out = testing::TempDir() + "audio_test_capture.wav";
    ASSERT_TRUE(audio.beginWavCapture(out));
    audio.setVolume(100);
    audio.setTimeSeconds(0.01);  // 441 frames of silence before the stream starts
    ASSERT_EQ(audio.streamPlay(stream, 0, 0), 1);
    audio.setTimeSeconds(0.2);
    ASSERT_TRUE(audio.endWavCapture());

    std::FILE* f = std::fopen(out.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::vector<uint8_t> bytes(1 << 20);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
    std::fclose(f);
    std::vector<int16_t> captured;
    ASSERT_TRUE(decodeStream(bytes.data(), bytes.size(), captured));
    ASSERT_EQ(captured.size(), 2u * 8820u);
    std::vector<int16_t> expected(2 * 441, 0);
    expected.insert(expected.end(), samples.begin(), samples.end());
    expected.resize(2 * 8820, 0);
    EXPECT_EQ(captured, expected);
}

}  // namespace
