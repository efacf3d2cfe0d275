#pragma once
#include <cstdint>

struct FontSheet {
    int32_t glyphSize;
    int32_t firstCode;
    uint32_t* glyphs;
    int32_t* spare;
    void loadSheet(const char* fileName);
};
