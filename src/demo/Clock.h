#pragma once
#include <cstdint>

// A tick counter and its rate: what the run timer reads in place of the operating
// system's high-resolution performance counter.
class Clock {
public:
    virtual int64_t counter() = 0;
    virtual int64_t frequency() = 0;
    virtual ~Clock() = default;
};

// The monotonic system clock in nanoseconds.
class RealClock : public Clock {
public:
    int64_t counter() override;
    int64_t frequency() override { return 1000000000; }
};

// A counter that moves only when its owner sets or advances it: tests and the offline
// renderer step time exactly, frame by frame.
class VirtualClock : public Clock {
public:
    explicit VirtualClock(int64_t ticksPerSecond = 1000000000) : rate(ticksPerSecond) {}

    int64_t counter() override { return ticks; }
    int64_t frequency() override { return rate; }

    void set(int64_t value) { ticks = value; }
    void advance(int64_t delta) { ticks += delta; }

private:
    int64_t rate;
    int64_t ticks = 0;
};
