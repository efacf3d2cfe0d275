#pragma once
#include "parts/Show.h"

// The show's tempo and length, shared by the music and the sync script so that they agree
// with the parts' rows (parts/Show.h). 120 beats a minute in 4/4: a beat is half a second,
// a bar two seconds.
namespace show {

constexpr double kBeatsPerMinute = 120.0;
constexpr double kSecondsPerBeat = 60.0 / kBeatsPerMinute;
constexpr double kSecondsPerBar = 4 * kSecondsPerBeat;
constexpr double kLengthSeconds = 182.0;
constexpr int kSampleRate = 44100;
// Music positions count bytes of 16-bit stereo PCM.
constexpr int kBytesPerSecond = kSampleRate * 2 * 2;

}  // namespace show
