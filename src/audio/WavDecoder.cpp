#include "audio/StreamDecoder.h"

#include <cstdio>
#include <cstring>
#include <utility>

namespace {

uint32_t readLe32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint16_t readLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// Resampling to the output rate multiplies the sample count by 44100 / rate: a file that
// declares a rate of a few hertz would ask for gigabytes. Below this it is refused.
constexpr int32_t kMinWavRate = 4000;
constexpr int32_t kMaxWavRate = 384000;

// The samples of the data chunk, converted as they are read.
class WavSource : public PcmSource {
public:
    WavSource(std::shared_ptr<const std::vector<uint8_t>> bytes, int32_t rate, int32_t channels, int32_t bits, size_t body,
              size_t count)
        : bytes(std::move(bytes)), bits(bits), body(body), count(count) {
        sourceRate = rate;
        sourceChannels = channels;
    }

    size_t read(int16_t* samples, size_t wanted) override {
        const size_t n = wanted < count - position ? wanted : count - position;
        const uint8_t* data = bytes->data() + body;
        for (size_t i = 0; i < n; i++, position++) {
            samples[i] = bits == 16 ? static_cast<int16_t>(readLe16(data + 2 * position))
                                    : static_cast<int16_t>((data[position] - 128) * 256);
        }
        return n;
    }

    void rewind() override { position = 0; }

    Opener opener() const override {
        return [bytes = bytes, rate = sourceRate, channels = sourceChannels, bits = bits, body = body, count = count] {
            return std::unique_ptr<PcmSource>(std::make_unique<WavSource>(bytes, rate, channels, bits, body, count));
        };
    }

private:
    std::shared_ptr<const std::vector<uint8_t>> bytes;   // shared with the sources that reopen it
    int32_t bits;
    size_t body;    // offset of the first sample
    size_t count;   // whole frames' samples
    size_t position = 0;
};

}  // namespace

std::unique_ptr<PcmSource> openWavSource(std::vector<uint8_t> bytes) {
    const uint8_t* data = bytes.data();
    const size_t size = bytes.size();
    if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
        return nullptr;
    int32_t channels = 0, rate = 0, bits = 0;
    size_t offset = 12;
    while (offset + 8 <= size) {
        const uint8_t* chunk = data + offset;
        const size_t chunkSize = readLe32(chunk + 4);
        const size_t available = size - offset - 8;
        const size_t bodySize = chunkSize < available ? chunkSize : available;
        const uint8_t* body = chunk + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (bodySize < 16 || readLe16(body) != 1) return nullptr;  // plain PCM only
            channels = readLe16(body + 2);
            rate = static_cast<int32_t>(readLe32(body + 4));
            bits = readLe16(body + 14);
            if (channels < 1 || channels > 2 || rate <= 0 || (bits != 8 && bits != 16)) return nullptr;
            if (rate < kMinWavRate || rate > kMaxWavRate) {
                std::fprintf(stderr, "WAV sample rate %d Hz is outside %d..%d Hz; not played\n",
                             rate, kMinWavRate, kMaxWavRate);
                return nullptr;
            }
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (channels == 0) return nullptr;
            const size_t bytesPerSample = static_cast<size_t>(bits / 8);
            const size_t count = bodySize / bytesPerSample / channels * channels;
            if (count == 0) return nullptr;
            const size_t start = offset + 8;
            return std::make_unique<WavSource>(std::make_shared<const std::vector<uint8_t>>(std::move(bytes)), rate,
                                               channels, bits, start, count);
        }
        offset += 8 + chunkSize + (chunkSize & 1);
    }
    return nullptr;
}
