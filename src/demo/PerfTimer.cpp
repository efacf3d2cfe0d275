#include "demo/PerfTimer.h"

#include <cmath>

#include "demo/Clock.h"

PerfTimer::PerfTimer(Clock& clock) : clock(clock) {
    frequency = clock.frequency();
    period = 1.0 / static_cast<double>(frequency);
    counter = clock.counter();
    startMs = milliseconds();
    mark();
}

uint32_t PerfTimer::milliseconds() const {
    // Wraps like a 32-bit millisecond count; fmod keeps the wrap defined for any counter.
    double ms = std::trunc(static_cast<double>(counter) * period * 1000.0);
    if (!std::isfinite(ms)) return 0;  // a clock without a rate
    double low = std::fmod(ms, 4294967296.0);
    if (low < 0.0) low += 4294967296.0;
    return static_cast<uint32_t>(low);
}

double PerfTimer::readSeconds() {
    counter = clock.counter();
    uint32_t sinceStart = milliseconds() - startMs;
    return sinceStart * 0.001;
}

float PerfTimer::mark() {
    markOffset = static_cast<float>(readSeconds());
    return markOffset;
}

void PerfTimer::markAt(int64_t ms) {
    // Both sides are whole milliseconds times 0.001: equal readings give exactly 0.
    markOffset = static_cast<float>(readSeconds() - static_cast<double>(ms) * 0.001);
}

float PerfTimer::elapsed() {
    return static_cast<float>(readSeconds() - markOffset);
}
