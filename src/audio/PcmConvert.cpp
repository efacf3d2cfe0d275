#include "audio/StreamDecoder.h"

#include <utility>

std::vector<int16_t> toOutputFormat(PcmAudio audio) {
    if (audio.rate == kOutputRate && audio.channels == 2) return std::move(audio.samples);
    std::vector<int16_t> stereo;
    if (audio.channels < 1 || audio.channels > 2 || audio.rate <= 0) return stereo;
    const size_t inFrames = audio.samples.size() / static_cast<size_t>(audio.channels);
    if (inFrames == 0) return stereo;
    auto sample = [&](size_t frame, int channel) -> int32_t {
        return audio.samples[frame * audio.channels + (audio.channels == 2 ? channel : 0)];
    };

    if (audio.rate == kOutputRate) {
        stereo.resize(inFrames * 2);
        for (size_t i = 0; i < inFrames; i++) {
            stereo[2 * i] = static_cast<int16_t>(sample(i, 0));
            stereo[2 * i + 1] = static_cast<int16_t>(sample(i, 1));
        }
        return stereo;
    }

    // Linear interpolation; the source position is a 32.32 fixed-point step so the result is
    // the same on every machine.
    const uint64_t step = (static_cast<uint64_t>(audio.rate) << 32) / kOutputRate;
    const size_t outFrames = static_cast<size_t>(static_cast<uint64_t>(inFrames) * kOutputRate / audio.rate);
    stereo.resize(outFrames * 2);
    uint64_t position = 0;
    for (size_t i = 0; i < outFrames; i++, position += step) {
        const size_t a = static_cast<size_t>(position >> 32);
        const size_t b = a + 1 < inFrames ? a + 1 : a;
        const int64_t fraction = static_cast<int64_t>((position >> 16) & 0xffff);
        for (int c = 0; c < 2; c++) {
            const int64_t s0 = sample(a, c), s1 = sample(b, c);
            stereo[2 * i + c] = static_cast<int16_t>(s0 + (((s1 - s0) * fraction) >> 16));
        }
    }
    return stereo;
}
