#pragma once
#include <cstdint>

class Clock;

// Run timer with a resolution of one millisecond: seconds since the last mark.
class PerfTimer {
public:
    int64_t counter = 0;      // last reading of the clock
    int64_t frequency = 0;    // clock ticks per second
    double period = 0.0;      // 1.0 / frequency
    float markOffset = 0.0f;  // elapsed seconds at the last mark
    uint32_t startMs = 0;     // milliseconds value at construction

    // Reads the clock's rate and counter, then marks time zero. The clock is not owned
    // and must outlive the timer.
    explicit PerfTimer(Clock& clock);

    // Seconds since the last mark.
    float elapsed();
    // Makes now the zero point; returns the seconds since construction.
    float mark();
    // Makes now read as `ms` milliseconds: a restart of the show at that time. With the
    // clock already there (a front end that sets its clock to the show time) nothing moves.
    void markAt(int64_t ms);

private:
    // Reads the clock; seconds since construction, at millisecond resolution.
    double readSeconds();
    // trunc(counter * period * 1000) reduced to its low 32 bits.
    uint32_t milliseconds() const;

    Clock& clock;
};
