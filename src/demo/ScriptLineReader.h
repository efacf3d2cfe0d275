#pragma once
#include <cstdio>

// Reads a text file line by line the way a 256-byte line buffer would: at most 255
// characters a line, the rest of a longer line being the next line; a line feed ends a
// line and is dropped, and so is a carriage return right before it. After the end of
// the file (or without a file) every line reads as empty.
class ScriptLineReader {
public:
    static constexpr int kMaxLine = 255;

    // Does not take ownership of the file, which may be null.
    explicit ScriptLineReader(std::FILE* file) : file(file) {}

    // The next line, NUL-terminated; valid until the next call.
    const char* next();
    // True once the end of the file has been reached: every further line is empty.
    bool atEnd() const { return ended; }

private:
    std::FILE* file;
    bool ended = false;
    char line[kMaxLine + 1] = {};
};
