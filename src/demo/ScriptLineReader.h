#pragma once
#include <cstddef>
#include <cstdint>

// Reads text line by line the way a 256-byte line buffer would: at most 255 characters a
// line, the rest of a longer line being the next line; a line feed ends a line and is
// dropped, and so is a carriage return right before it. After the end of the text every
// line reads as empty.
class ScriptLineReader {
public:
    static constexpr int kMaxLine = 255;

    // Reads `size` bytes at `data`, which must outlive the reader; null reads as empty.
    ScriptLineReader(const uint8_t* data, size_t size) : data(data), size(data ? size : 0) {}

    // The next line, NUL-terminated; valid until the next call.
    const char* next();
    // True once the end of the text has been reached: every further line is empty.
    bool atEnd() const { return ended; }

private:
    const uint8_t* data;
    size_t size;
    size_t position = 0;
    bool ended = false;
    char line[kMaxLine + 1] = {};
};
