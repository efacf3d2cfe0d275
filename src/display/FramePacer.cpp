#include "display/FramePacer.h"

#include <thread>

FramePacer::FramePacer(int refreshHz)
    : refreshPeriod(std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
          1.0 / (refreshHz > 0 ? refreshHz : 60)))),
      last(Clock::now()) {}

void FramePacer::waitForRefresh() {
    const Clock::time_point due = last + refreshPeriod;
    const Clock::time_point now = Clock::now();
    if (due > now) {
        std::this_thread::sleep_until(due);
        last = due;  // keeps the rate exact whatever the sleep's own delay
    } else {
        last = now;
    }
}
