#include "audio/StreamDecoder.h"

#include <mpg123.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// The bytes mpg123 reads through its replaced reader.
struct MemoryReader {
    const uint8_t* data;
    size_t size;
    size_t position;
};

mpg123_ssize_t readMemory(void* handle, void* buffer, size_t count) {
    auto* reader = static_cast<MemoryReader*>(handle);
    const size_t left = reader->size - reader->position;
    const size_t n = count < left ? count : left;
    std::memcpy(buffer, reader->data + reader->position, n);
    reader->position += n;
    return static_cast<mpg123_ssize_t>(n);
}

off_t seekMemory(void* handle, off_t offset, int whence) {
    auto* reader = static_cast<MemoryReader*>(handle);
    off_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? static_cast<off_t>(reader->position)
                                                              : static_cast<off_t>(reader->size);
    off_t target = base + offset;
    if (target < 0 || target > static_cast<off_t>(reader->size)) return -1;
    reader->position = static_cast<size_t>(target);
    return target;
}

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

struct HandleDeleter {
    void operator()(mpg123_handle* handle) const {
        mpg123_close(handle);
        mpg123_delete(handle);
    }
};

}  // namespace

bool decodeMp3(const uint8_t* data, size_t size, PcmAudio& out) {
    const size_t start = audioStart(data, size);
    if (start + 4 > size || !isFrameHeader(data + start)) return false;

    static const int initialised = mpg123_init();
    if (initialised != MPG123_OK) return false;
    std::unique_ptr<mpg123_handle, HandleDeleter> handle(mpg123_new(nullptr, nullptr));
    if (!handle) return false;
    mpg123_param(handle.get(), MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    // Every rate in 16-bit mono or stereo; we resample ourselves.
    mpg123_format_none(handle.get());
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; i++)
        mpg123_format(handle.get(), rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);

    MemoryReader reader{data, size, 0};
    if (mpg123_replace_reader_handle(handle.get(), readMemory, seekMemory, nullptr) != MPG123_OK ||
        mpg123_open_handle(handle.get(), &reader) != MPG123_OK)
        return false;
    long rate = 0;
    int channels = 0, encoding = 0;
    if (mpg123_getformat(handle.get(), &rate, &channels, &encoding) != MPG123_OK) return false;

    out.rate = static_cast<int32_t>(rate);
    out.channels = channels;
    out.samples.clear();
    int16_t buffer[16384];
    for (;;) {
        size_t done = 0;
        int result = mpg123_read(handle.get(), buffer, sizeof buffer, &done);
        out.samples.insert(out.samples.end(), buffer, buffer + done / sizeof(int16_t));
        // A change of format part way is not followed: what came before is kept.
        if (result != MPG123_OK) break;
    }
    out.samples.resize(out.samples.size() / static_cast<size_t>(channels) * channels);
    return !out.samples.empty();
}
