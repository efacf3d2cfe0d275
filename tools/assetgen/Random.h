#pragma once
#include <cstdint>

// Small seeded generator (SplitMix64) so every run of the generator makes the same bytes,
// whatever the standard library's distributions do.
class Random {
public:
    explicit Random(uint64_t seed) : state(seed) {}

    uint64_t next() {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    float unit() { return float(next() >> 40) * (1.0f / 16777216.0f); }
    // Uniform in [lo, hi).
    float range(float lo, float hi) { return lo + (hi - lo) * unit(); }
    // Uniform integer in [0, n).
    int below(int n) { return int(next() % uint64_t(n)); }

private:
    uint64_t state;
};
