#include "audio/StreamDecoder.h"

#include <mpg123.h>

#include <cstdio>
#include <cstring>
#include <utility>

namespace {

// Where the audio starts: after an ID3v2 tag, if the file has one.
size_t audioStart(const uint8_t* data, size_t size) {
    if (size < 10 || std::memcmp(data, "ID3", 3) != 0) return 0;
    const size_t tagSize = (data[6] & 0x7f) << 21 | (data[7] & 0x7f) << 14 | (data[8] & 0x7f) << 7 | (data[9] & 0x7f);
    const bool footer = (data[5] & 0x10) != 0;
    return 10 + tagSize + (footer ? 10 : 0);
}

// A plausible MPEG audio frame header: sync, a layer, a bitrate and a sampling rate.
bool isFrameHeader(const uint8_t* p) {
    return p[0] == 0xFF && (p[1] & 0xE0) == 0xE0 && ((p[1] >> 3) & 3) != 1 && ((p[1] >> 1) & 3) != 0 &&
           (p[2] >> 4) != 15 && ((p[2] >> 2) & 3) != 3;
}

// The file's bytes stay in memory (a few MB), shared by the sources that reopen them, and
// mpg123 reads them through a replaced reader.
class Mp3Source : public PcmSource {
public:
    explicit Mp3Source(std::shared_ptr<const std::vector<uint8_t>> bytes) : bytes(std::move(bytes)) {}
    ~Mp3Source() override {
        if (!handle) return;
        mpg123_close(handle);
        mpg123_delete(handle);
    }
    Mp3Source(const Mp3Source&) = delete;
    Mp3Source& operator=(const Mp3Source&) = delete;

    bool open() {
        static const int initialised = mpg123_init();
        if (initialised != MPG123_OK) return false;
        handle = mpg123_new(nullptr, nullptr);
        if (!handle) return false;
        mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
        // Every rate in 16-bit mono or stereo; the output stream resamples.
        mpg123_format_none(handle);
        const long* rates = nullptr;
        size_t rateCount = 0;
        mpg123_rates(&rates, &rateCount);
        for (size_t i = 0; i < rateCount; i++)
            mpg123_format(handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
        if (mpg123_replace_reader_handle(handle, readBytes, seekBytes, nullptr) != MPG123_OK) return false;
        return start();
    }

    size_t read(int16_t* samples, size_t count) override {
        if (finished) return 0;
        size_t done = 0;
        const int result = mpg123_read(handle, samples, count * sizeof(int16_t), &done);
        // A change of format part way is not followed: what came before is kept.
        if (result != MPG123_OK) finished = true;
        return done / sizeof(int16_t);
    }

    void rewind() override {
        mpg123_close(handle);
        if (!start()) finished = true;
    }

    Opener opener() const override {
        return [bytes = bytes]() -> std::unique_ptr<PcmSource> {
            auto again = std::make_unique<Mp3Source>(bytes);
            if (!again->open()) return nullptr;
            return again;
        };
    }

private:
    // Opens the bytes from their start, as new: the same samples every time.
    bool start() {
        position = 0;
        finished = false;
        if (mpg123_open_handle(handle, this) != MPG123_OK) return false;
        long rate = 0;
        int channels = 0, encoding = 0;
        if (mpg123_getformat(handle, &rate, &channels, &encoding) != MPG123_OK) return false;
        sourceRate = static_cast<int32_t>(rate);
        sourceChannels = channels;
        return true;
    }

    static mpg123_ssize_t readBytes(void* source, void* buffer, size_t count) {
        auto* self = static_cast<Mp3Source*>(source);
        const size_t left = self->bytes->size() - self->position;
        const size_t n = count < left ? count : left;
        std::memcpy(buffer, self->bytes->data() + self->position, n);
        self->position += n;
        return static_cast<mpg123_ssize_t>(n);
    }

    static off_t seekBytes(void* source, off_t offset, int whence) {
        auto* self = static_cast<Mp3Source*>(source);
        const off_t size = static_cast<off_t>(self->bytes->size());
        const off_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? static_cast<off_t>(self->position) : size;
        const off_t target = base + offset;
        if (target < 0 || target > size) return -1;
        self->position = static_cast<size_t>(target);
        return target;
    }

    std::shared_ptr<const std::vector<uint8_t>> bytes;
    size_t position = 0;
    mpg123_handle* handle = nullptr;
    bool finished = false;
};

}  // namespace

std::unique_ptr<PcmSource> openMp3Source(std::vector<uint8_t> bytes) {
    const size_t start = audioStart(bytes.data(), bytes.size());
    if (start + 4 > bytes.size() || !isFrameHeader(bytes.data() + start)) return nullptr;
    auto source = std::make_unique<Mp3Source>(std::make_shared<const std::vector<uint8_t>>(std::move(bytes)));
    if (!source->open()) return nullptr;
    return source;
}
