#pragma once
#include "parts/Show.h"

// The show's beat and length, shared by the music and the sync script so that they agree
// with the parts' rows and the tempo (parts/Show.h). At 120 beats a minute in 4/4 a beat is
// half a second, a bar two seconds.
namespace show {

constexpr double kSecondsPerBeat = 60.0 / kBeatsPerMinute;
constexpr double kSecondsPerBar = kBeatsPerBar * kSecondsPerBeat;
constexpr double kLengthSeconds = 182.0;

}  // namespace show
