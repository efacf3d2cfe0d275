#include "audio/WavWriter.h"

#include <algorithm>

#include "audio/StreamDecoder.h"

namespace {

void putLe32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; i++) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
void putLe16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

// The largest data chunk a WAV header can describe.
constexpr uint64_t kMaxDataBytes = 0xFFFFFFFFull - 36;

}  // namespace

WavWriter::~WavWriter() { close(); }

bool WavWriter::open(const std::string& path) {
    close();
    file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    dataBytes = 0;
    failed = false;
    writeHeader(0);
    return !failed;
}

void WavWriter::write(const int16_t* stereo, size_t frames) {
    if (!file) return;
    uint8_t bytes[4096];
    for (size_t i = 0; i < 2 * frames;) {
        size_t n = 0;
        for (; n < sizeof bytes / 2 && i < 2 * frames; n++, i++) putLe16(bytes + 2 * n, static_cast<uint16_t>(stereo[i]));
        if (std::fwrite(bytes, 2, n, file) != n) failed = true;
        dataBytes += 2 * n;
    }
}

bool WavWriter::close() {
    if (!file) return true;
    if (dataBytes > kMaxDataBytes) failed = true;
    std::fseek(file, 0, SEEK_SET);
    writeHeader(static_cast<uint32_t>(dataBytes < kMaxDataBytes ? dataBytes : kMaxDataBytes));
    if (std::fclose(file) != 0) failed = true;
    file = nullptr;
    return !failed;
}

void WavWriter::writeHeader(uint32_t dataSize) {
    uint8_t header[44];
    const uint32_t byteRate = kOutputRate * kOutputBytesPerFrame;
    std::copy_n("RIFF", 4, header);
    putLe32(header + 4, 36 + dataSize);
    std::copy_n("WAVEfmt ", 8, header + 8);
    putLe32(header + 16, 16);
    putLe16(header + 20, 1);
    putLe16(header + 22, 2);
    putLe32(header + 24, kOutputRate);
    putLe32(header + 28, byteRate);
    putLe16(header + 32, kOutputBytesPerFrame);
    putLe16(header + 34, 16);
    std::copy_n("data", 4, header + 36);
    putLe32(header + 40, dataSize);
    if (std::fwrite(header, 1, sizeof header, file) != sizeof header) failed = true;
}
