#include <algorithm>
#include <cmath>

#include "SyncDocument.h"
#include "core/Units.h"
#include "parts/Show.h"

int32_t musicBytesAt(double seconds) {
    // Whole sample frames: a position inside a frame would split a left and right sample.
    constexpr double kLastFrame = static_cast<double>(INT32_MAX / units::kBytesPerSampleFrame);
    const double frames = std::clamp(std::round(seconds * units::kSampleRate), 0.0, kLastFrame);
    return static_cast<int32_t>(frames) * units::kBytesPerSampleFrame;
}

double secondsAtBytes(int32_t bytes) { return static_cast<double>(bytes) / units::kMusicBytesPerSecond; }

double snapToBeat(double seconds) {
    constexpr double kBeat = 60.0 / show::kBeatsPerMinute;
    return std::floor(seconds / kBeat + 0.5) * kBeat;
}
