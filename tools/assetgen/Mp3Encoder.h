#pragma once
#include <cstdint>
#include <vector>

// MP3 through LAME: interleaved 16-bit stereo at `sampleRate` in, a complete MP3 stream
// out, with the LAME info frame filled in so decoders can trim the encoder delay.
// Returns an empty vector when LAME fails.
std::vector<uint8_t> encodeMp3(const std::vector<int16_t>& interleaved, int sampleRate, int kbps);
