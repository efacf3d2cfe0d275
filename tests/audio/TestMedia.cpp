#include "TestMedia.h"

#include <gtest/gtest.h>
#include <lame/lame.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <stdexcept>

std::vector<uint8_t> encodeSineMp3(double seconds, int rate) {
    lame_global_flags* lame = lame_init();
    lame_set_in_samplerate(lame, rate);
    lame_set_out_samplerate(lame, rate);
    lame_set_num_channels(lame, 2);
    lame_set_brate(lame, 128);
    lame_set_quality(lame, 7);
    if (lame_init_params(lame) < 0) throw std::runtime_error("lame_init_params failed");

    const int frames = static_cast<int>(seconds * rate);
    std::vector<int16_t> pcm(2 * static_cast<size_t>(frames));
    for (int i = 0; i < frames; i++)
        pcm[2 * i] = pcm[2 * i + 1] = static_cast<int16_t>(12000 * std::sin(2 * M_PI * 440.0 * i / rate));

    std::vector<uint8_t> mp3(static_cast<size_t>(1.25 * frames + 7200 + 7200));
    int used = lame_encode_buffer_interleaved(lame, pcm.data(), frames, mp3.data(), static_cast<int>(mp3.size()));
    if (used < 0) throw std::runtime_error("lame encoding failed");
    int tail = lame_encode_flush(lame, mp3.data() + used, static_cast<int>(mp3.size()) - used);
    if (tail < 0) throw std::runtime_error("lame flush failed");
    mp3.resize(static_cast<size_t>(used + tail));
    lame_close(lame);
    return mp3;
}

std::vector<uint8_t> makeTinyMod(int orders) {
    const int sampleWords = 16;
    std::vector<uint8_t> mod(1084 + 1024 + 2 * sampleWords, 0);
    std::memcpy(mod.data(), "test module", 11);
    uint8_t* sample = mod.data() + 20;  // first of 31 sample headers
    std::memcpy(sample, "square", 6);
    sample[22] = 0;
    sample[23] = sampleWords;  // length in words, big-endian
    sample[25] = 64;           // volume
    sample[27] = 0;            // loop start
    sample[29] = sampleWords;  // loop length in words
    mod[950] = static_cast<uint8_t>(orders);
    mod[951] = 127;
    // The order table (952..1079) stays all pattern 0.
    std::memcpy(mod.data() + 1080, "M.K.", 4);

    uint8_t* cell = mod.data() + 1084;  // row 0, channel 0
    const int period = 428, instrument = 1;
    cell[0] = static_cast<uint8_t>((instrument & 0xf0) | (period >> 8));
    cell[1] = static_cast<uint8_t>(period & 0xff);
    cell[2] = static_cast<uint8_t>((instrument & 0x0f) << 4 | 0xF);  // effect F: set speed
    cell[3] = 1;

    uint8_t* data = mod.data() + 1084 + 1024;
    for (int i = 0; i < 2 * sampleWords; i++) data[i] = i < sampleWords ? 0x60 : 0xA0;
    return mod;
}

std::vector<uint8_t> makeWav(int rate, int channels, const std::vector<int16_t>& samples) {
    std::vector<uint8_t> wav(44 + 2 * samples.size());
    auto put32 = [&](size_t at, uint32_t v) { for (int i = 0; i < 4; i++) wav[at + i] = static_cast<uint8_t>(v >> (8 * i)); };
    auto put16 = [&](size_t at, uint32_t v) { wav[at] = static_cast<uint8_t>(v); wav[at + 1] = static_cast<uint8_t>(v >> 8); };
    std::memcpy(wav.data(), "RIFF", 4);
    put32(4, static_cast<uint32_t>(wav.size() - 8));
    std::memcpy(wav.data() + 8, "WAVEfmt ", 8);
    put32(16, 16);
    put16(20, 1);
    put16(22, channels);
    put32(24, rate);
    put32(28, rate * channels * 2);
    put16(32, channels * 2);
    put16(34, 16);
    std::memcpy(wav.data() + 36, "data", 4);
    put32(40, static_cast<uint32_t>(2 * samples.size()));
    for (size_t i = 0; i < samples.size(); i++) put16(44 + 2 * i, static_cast<uint16_t>(samples[i]));
    return wav;
}

std::string writeTempFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = testing::TempDir() + "audio_test_" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + path);
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);   // an empty vector may have no data
    std::fclose(f);
    return path;
}
