#pragma once
#include <chrono>

// Waits for the display's refreshes where nothing else does: a frame that is not presented
// (identical to the one shown), or an output without a synchronised present. Without it the
// loop, whose only pacing is the present, would spin.
class FramePacer {
public:
    using Clock = std::chrono::steady_clock;

    // A refresh rate of 0 or less (unknown) counts as 60 Hz.
    explicit FramePacer(int refreshHz);
    // The display was refreshed just now by other means (a synchronised present).
    void refreshed() { last = Clock::now(); }
    // Sleeps until the refresh that schedule gives for now.
    void waitForRefresh();
    // The next refresh for a caller at `now`, taken as the last one: a period after the last
    // refresh; for a caller less than a period late, that time (already past: the beat holds
    // and the next wait is shorter); for one later than that, now (a new beat).
    Clock::time_point schedule(Clock::time_point now);
    Clock::duration period() const { return refreshPeriod; }

private:
    Clock::duration refreshPeriod;
    Clock::time_point last;
};
