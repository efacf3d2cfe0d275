#include "audio/StreamDecoder.h"

#include <cstdio>
#include <cstring>

namespace {

uint32_t readLe32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint16_t readLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// Resampling to the output rate multiplies the sample count by 44100 / rate: a file that
// declares a rate of a few hertz would ask for gigabytes. Below this it is refused.
constexpr int32_t kMinWavRate = 4000;
constexpr int32_t kMaxWavRate = 384000;

}  // namespace

bool decodeWav(const uint8_t* data, size_t size, PcmAudio& out) {
    if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
        return false;
    int32_t channels = 0, rate = 0, bits = 0;
    size_t offset = 12;
    while (offset + 8 <= size) {
        const uint8_t* chunk = data + offset;
        const size_t chunkSize = readLe32(chunk + 4);
        const size_t available = size - offset - 8;
        const size_t bodySize = chunkSize < available ? chunkSize : available;
        const uint8_t* body = chunk + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (bodySize < 16 || readLe16(body) != 1) return false;  // plain PCM only
            channels = readLe16(body + 2);
            rate = static_cast<int32_t>(readLe32(body + 4));
            bits = readLe16(body + 14);
            if (channels < 1 || channels > 2 || rate <= 0 || (bits != 8 && bits != 16)) return false;
            if (rate < kMinWavRate || rate > kMaxWavRate) {
                std::fprintf(stderr, "WAV sample rate %d Hz is outside %d..%d Hz; not played\n",
                             rate, kMinWavRate, kMaxWavRate);
                return false;
            }
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (channels == 0) return false;
            const size_t bytesPerSample = bits / 8;
            const size_t count = bodySize / bytesPerSample / channels * channels;
            out.rate = rate;
            out.channels = channels;
            out.samples.resize(count);
            for (size_t i = 0; i < count; i++) {
                out.samples[i] = bits == 16
                    ? static_cast<int16_t>(readLe16(body + 2 * i))
                    : static_cast<int16_t>((body[i] - 128) * 256);
            }
            return count > 0;
        }
        offset += 8 + chunkSize + (chunkSize & 1);
    }
    return false;
}
