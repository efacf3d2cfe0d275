#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

// Writes 16-bit stereo PCM at the output rate to a WAV file; the sizes in the header are
// filled in by close.
class WavWriter {
public:
    ~WavWriter();
    bool open(const std::string& path);
    void write(const int16_t* stereo, size_t frames);
    // Finishes the header; false when any write failed.
    bool close();
    bool isOpen() const { return file != nullptr; }

private:
    void writeHeader(uint32_t dataSize);

    std::FILE* file = nullptr;
    uint64_t dataBytes = 0;
    bool failed = false;
};
