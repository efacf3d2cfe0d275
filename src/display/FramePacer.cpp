#include "display/FramePacer.h"

#include <thread>

FramePacer::FramePacer(int refreshHz)
    : refreshPeriod(std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
          1.0 / (refreshHz > 0 ? refreshHz : 60)))),
      last(Clock::now()) {}

FramePacer::Clock::time_point FramePacer::schedule(Clock::time_point now) {
    const Clock::time_point due = last + refreshPeriod;
    last = now - due < refreshPeriod ? due : now;
    return last;
}

void FramePacer::waitForRefresh() {
    const Clock::time_point now = Clock::now();
    const Clock::time_point due = schedule(now);
    // Sleeping to the due time, not for a period, keeps the rate whatever the sleep's own delay.
    if (due > now) std::this_thread::sleep_until(due);
}
