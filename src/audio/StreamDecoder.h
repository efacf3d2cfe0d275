#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Decoding of stream files (MP3, WAV) into the output format: 44100 Hz, 16-bit, stereo,
// interleaved. Shared by the device and the virtual audio library, so both play the same
// samples.

inline constexpr int32_t kOutputRate = 44100;
inline constexpr int32_t kOutputBytesPerFrame = 4;  // two 16-bit channels

// Decoded audio in its own rate and channel count (1 or 2), interleaved.
struct PcmAudio {
    int32_t rate = 0;
    int32_t channels = 0;
    std::vector<int16_t> samples;
};

// False when the bytes are no MP3 (after an optional ID3v2 tag the first MPEG audio frame
// must start at once, so that other files are not mistaken for one) or decode to nothing.
bool decodeMp3(const uint8_t* data, size_t size, PcmAudio& out);
// PCM WAV, 8 or 16 bits, mono or stereo, any rate; false otherwise.
bool decodeWav(const uint8_t* data, size_t size, PcmAudio& out);
// Converts to the output format: mono doubled, other rates resampled linearly.
std::vector<int16_t> toOutputFormat(PcmAudio audio);
// A WAV or MP3 file in the output format; false when it is neither.
bool decodeStream(const uint8_t* data, size_t size, std::vector<int16_t>& stereo);
