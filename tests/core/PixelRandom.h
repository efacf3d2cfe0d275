#pragma once
// Seeded random pixels for the fast-path tests: the case number is the seed, so a failing
// case can be replayed alone. Bytes lean toward 0x00 and 0xFF, where saturation and
// rounding go wrong first.

#include <cstdint>
#include <random>

class PixelRandom {
public:
    explicit PixelRandom(uint32_t seed) : engine_(seed) {}

    uint8_t byte() {
        switch (engine_() % 4) {
        case 0: return 0x00;
        case 1: return 0xFF;
        default: return static_cast<uint8_t>(engine_());
        }
    }
    uint32_t pixel() {
        return uint32_t{byte()} << 24 | uint32_t{byte()} << 16 | uint32_t{byte()} << 8 | byte();
    }
    void fill(uint32_t* pixels, size_t count) {
        for (size_t i = 0; i < count; ++i) pixels[i] = pixel();
    }
    // Uniform in lo..hi inclusive.
    int32_t range(int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(engine_); }
    bool chance(int32_t oneIn) { return range(1, oneIn) == 1; }

private:
    std::mt19937 engine_;
};

// Byte-by-byte models of the pixel operators, written the obvious way on purpose.
inline uint32_t perByte(uint32_t a, uint32_t b, int (*op)(int, int)) {
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int result = op(static_cast<int>((a >> shift) & 0xFF), static_cast<int>((b >> shift) & 0xFF));
        out |= static_cast<uint32_t>(result) << shift;
    }
    return out;
}
inline uint32_t modelAdd(uint32_t a, uint32_t b) {
    return perByte(a, b, [](int x, int y) { return x + y > 255 ? 255 : x + y; });
}
inline uint32_t modelSubtract(uint32_t s, uint32_t g) {
    return perByte(s, g, [](int x, int y) { return x - y < 0 ? 0 : x - y; });
}
inline uint32_t modelLevelBlend(uint32_t d, uint32_t s, int level) {
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int dk = (d >> shift) & 0xFF, sk = (s >> shift) & 0xFF;
        out |= static_cast<uint32_t>((level * dk + (255 - level) * sk) >> 8) << shift;
    }
    return out;
}
