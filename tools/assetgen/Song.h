#pragma once
#include <cstdint>
#include <vector>

// The soundtrack: 120 bpm in A minor, following the show's parts (a build-up into every
// change, the drop when the kebab appears, a crash on every flash). Interleaved 16-bit
// stereo at 44100 Hz, exactly the show's length.
std::vector<int16_t> renderSong();
