#pragma once
#include <array>

// The show's timing, shared by the music and the sync script so that they agree.
// 120 beats a minute in 4/4: a beat is half a second, a bar two seconds.
namespace show {

constexpr double kBeatsPerMinute = 120.0;
constexpr double kSecondsPerBeat = 60.0 / kBeatsPerMinute;
constexpr double kSecondsPerBar = 4 * kSecondsPerBeat;
constexpr double kLengthSeconds = 182.0;
constexpr int kSampleRate = 44100;
// Music positions count bytes of 16-bit stereo PCM.
constexpr int kBytesPerSecond = kSampleRate * 2 * 2;

struct Change {
    const char* label;    // the part that starts here
    double seconds;
};

// When each part after the title begins (title 0-20 s).
constexpr std::array<Change, 10> kChanges{{{"strips", 20},
                                          {"rotozoom", 24},
                                          {"graffiti", 44},
                                          {"strips", 62},
                                          {"kebab", 66},
                                          {"house", 90},
                                          {"strips", 100},
                                          {"credits", 104},
                                          {"greets", 126},
                                          {"end scroller", 142}}};

// "POWPOW" flashes, in seconds, on strong beats inside the parts that flash: strips,
// kebab, house and greets. The music hits a crash on each.
constexpr std::array<double, 19> kPowSeconds{{22, 23,                    // strips
                                              64, 65,                    // strips
                                              70, 74, 78, 82, 86,        // kebab
                                              92, 94, 96, 98,            // house
                                              102, 103,                  // strips
                                              130, 134, 138, 140}};      // greets

}  // namespace show
