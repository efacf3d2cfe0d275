#pragma once
#include <cstddef>
#include <cstdint>

// Takes harness parameters from the front of an input, leaving the rest as the file.
class InputCursor {
public:
    InputCursor(const uint8_t* data, size_t size) : data(data), size(size) {}

    uint8_t takeByte() {
        if (size == 0) return 0;
        --size;
        return *data++;
    }
    uint16_t takeU16() {
        uint16_t low = takeByte();
        return uint16_t(low | uint16_t(takeByte()) << 8);
    }
    int16_t takeI16() { return int16_t(takeU16()); }

    const uint8_t* rest() const { return data; }
    size_t restSize() const { return size; }

private:
    const uint8_t* data;
    size_t size;
};
