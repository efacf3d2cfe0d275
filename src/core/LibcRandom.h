#pragma once
#include <cstdint>

// The C library's rand() sequence as glibc makes it (the additive feedback generator
// r[i] = r[i-3] + r[i-31] over 34 words, seeded by a Park-Miller chain, 310 values
// discarded, each output shifted right by one), kept in our own state: every run of a
// process, and every platform, then draws the same numbers from the same seed.
class LibcRandom {
public:
    static constexpr int32_t kMax = 0x7FFFFFFF;

    explicit LibcRandom(uint32_t seed = 1) { reseed(seed); }

    // Starts the sequence srand(seed) starts; seed 0 counts as 1, as in glibc.
    void reseed(uint32_t seed);
    // The next number, 0..kMax.
    int32_t next();

private:
    uint32_t ring[34];
    int32_t at = 0;   // index of r[i-34], the slot the next value replaces
};

// The generator the parts draw from where the original called rand(). The program
// reseeds it with 1 when it builds its object graph, so each run starts from where a
// fresh process's rand() would.
LibcRandom& demoRandom();
