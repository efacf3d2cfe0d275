#pragma once
#include <cstdint>

// An opt-in report of presentation on standard error, for the measurement script
// (scripts/measure-show.sh): set DEMO_PRESENT_STATS=1. It tells when the first frame
// reached the screen (wall clock, milliseconds since the epoch) and, once a second, how
// many frames the loop has presented so far and how many of them had to be put on the
// screen (the rest were identical to the one already shown).
class PresentStats {
public:
    PresentStats();
    // One presented frame; `shown` is false when it was identical and not put on screen.
    void presented(bool shown);

private:
    bool enabled = false;
    int64_t frames = 0;
    int64_t shownFrames = 0;
    int64_t nextReportMs = 0;
};
