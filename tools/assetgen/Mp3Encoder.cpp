#include "Mp3Encoder.h"

#include <lame/lame.h>

#include <algorithm>

std::vector<uint8_t> encodeMp3(const std::vector<int16_t>& interleaved, int sampleRate, int kbps) {
    lame_global_flags* lame = lame_init();
    if (!lame) return {};
    lame_set_in_samplerate(lame, sampleRate);
    lame_set_out_samplerate(lame, sampleRate);
    lame_set_num_channels(lame, 2);
    lame_set_mode(lame, JOINT_STEREO);
    lame_set_brate(lame, kbps);
    lame_set_quality(lame, 5);
    lame_set_bWriteVbrTag(lame, 1);
    std::vector<uint8_t> out;
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        return {};
    }
    constexpr int kFrames = 8192;
    std::vector<unsigned char> buffer(size_t(kFrames) * 5 / 4 + 7200);
    const size_t frames = interleaved.size() / 2;
    for (size_t done = 0; done < frames; done += kFrames) {
        int n = int(std::min<size_t>(kFrames, frames - done));
        int written = lame_encode_buffer_interleaved(lame, const_cast<short*>(&interleaved[done * 2]), n,
                                                     buffer.data(), int(buffer.size()));
        if (written < 0) {
            lame_close(lame);
            return {};
        }
        out.insert(out.end(), buffer.begin(), buffer.begin() + written);
    }
    int written = lame_encode_flush(lame, buffer.data(), int(buffer.size()));
    if (written > 0) out.insert(out.end(), buffer.begin(), buffer.begin() + written);
    // The first frame was written as a placeholder; now that the stream is complete its
    // info (frame count, delay, padding) is known.
    size_t tagSize = lame_get_lametag_frame(lame, buffer.data(), buffer.size());
    if (tagSize > 0 && tagSize <= out.size() && tagSize <= buffer.size())
        std::copy(buffer.begin(), buffer.begin() + long(tagSize), out.begin());
    lame_close(lame);
    return out;
}
