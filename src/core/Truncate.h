#pragma once
#include <cstdint>

// Conversions of a double to int32_t that truncate toward zero, exactly as a plain cast does
// for every value in range. A cast of a value out of range (or NaN) is undefined; each
// caller needs its own defined result there, and the name says which.

// Out of range and NaN give INT32_MIN, which is what the x86 conversion instruction
// produces; the fill operations' coordinates wrap from there as the machine's did.
inline int32_t truncateOrIntMin(double value) {
    if (value > -2147483649.0 && value < 2147483648.0) return static_cast<int32_t>(value);
    return INT32_MIN;
}

// Out of range saturates to INT32_MIN or INT32_MAX; NaN gives 0.
inline int32_t truncateSaturating(double value) {
    if (!(value == value)) return 0;
    if (value >= 2147483647.0) return INT32_MAX;
    if (value <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(value);
}

// Clamped to [-limit, limit] (limit >= 0); NaN gives 0.
inline int32_t truncateClamped(double value, int32_t limit) {
    if (!(value == value)) return 0;
    if (value < -static_cast<double>(limit)) return -limit;
    if (value > static_cast<double>(limit)) return limit;
    return static_cast<int32_t>(value);
}
