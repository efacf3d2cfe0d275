#pragma once
#include <cstdint>

#include "audio/StreamDecoder.h"

// A stream's music position counts bytes of the output format (44.1 kHz, 16-bit stereo):
// the unit of the sync script's event times.
inline constexpr int32_t kMusicBytesPerSecond = kOutputRate * kOutputBytesPerFrame;
static_assert(kMusicBytesPerSecond == 176400);
