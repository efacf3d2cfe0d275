#pragma once
#include <cstdint>

// Divides window sums (0 to 255 * n) by n with a multiply and a shift. With
// m = floor(2^32 / n) + 1 = 2^32 / n + e, 0 < e <= 1, the product adds at most
// 255 * n / 2^32 to the exact quotient; that stays below 1 / n, so the cut result is
// exact, while 255 * n * n < 2^32. Longer windows use a plain division.
class WindowDivider {
public:
    static constexpr uint32_t kLongestExact = 4103;

    explicit WindowDivider(uint32_t n)
        : divisor(n), reciprocal(n <= kLongestExact ? (uint64_t{1} << 32) / n + 1 : 0) {}

    uint32_t operator()(uint32_t sum) const {
        return reciprocal ? static_cast<uint32_t>((sum * reciprocal) >> 32) : sum / divisor;
    }

private:
    uint32_t divisor;
    uint64_t reciprocal;
};
