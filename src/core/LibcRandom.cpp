#include "core/LibcRandom.h"

void LibcRandom::reseed(uint32_t seed) {
    int32_t r[34];
    r[0] = seed == 0 ? 1 : static_cast<int32_t>(seed);
    // 16807 * r mod (2^31 - 1) by Schrage's method, so no product overflows 32 bits.
    for (int32_t i = 1; i < 31; i++) {
        const int32_t hi = r[i - 1] / 127773;
        const int32_t lo = r[i - 1] % 127773;
        int32_t word = 16807 * lo - 2836 * hi;
        if (word < 0) word += 2147483647;
        r[i] = word;
    }
    for (int32_t i = 31; i < 34; i++) r[i] = r[i - 31];
    for (int32_t i = 0; i < 34; i++) ring[i] = static_cast<uint32_t>(r[i]);
    at = 0;
    for (int32_t i = 0; i < 310; i++) next();
}

int32_t LibcRandom::next() {
    // ring[at] holds r[i-34]; r[i-31] sits 3 slots on, r[i-3] 31 slots on.
    const uint32_t value = ring[(at + 3) % 34] + ring[(at + 31) % 34];
    ring[at] = value;
    at = (at + 1) % 34;
    return static_cast<int32_t>(value >> 1);
}

LibcRandom& demoRandom() {
    static LibcRandom generator;
    return generator;
}
