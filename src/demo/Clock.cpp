#include "demo/Clock.h"

#include <chrono>

// The monotonic clock in nanoseconds (CLOCK_MONOTONIC on Linux, the performance counter on
// Windows).
int64_t RealClock::counter() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
