#include "display/PresentStats.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {
int64_t wallClockMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}
}  // namespace

PresentStats::PresentStats() {
    const char* setting = std::getenv("DEMO_PRESENT_STATS");
    enabled = setting && *setting && *setting != '0';
}

void PresentStats::presented(bool shown) {
    if (!enabled) return;
    frames++;
    if (shown) shownFrames++;
    const int64_t now = wallClockMs();
    if (frames == 1) {
        std::fprintf(stderr, "present: first frame at %lld ms\n", static_cast<long long>(now));
        nextReportMs = now + 1000;
    } else if (now >= nextReportMs) {
        std::fprintf(stderr, "present: %lld frames, %lld shown, at %lld ms\n", static_cast<long long>(frames),
                     static_cast<long long>(shownFrames), static_cast<long long>(now));
        nextReportMs += 1000;
        if (nextReportMs <= now) nextReportMs = now + 1000;
    }
}
