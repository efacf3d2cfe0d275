#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// What one offline run does: where it runs, which frames it draws and what it records.
struct OfflineSettings {
    std::string stageDir = ".";   // the run's working directory, as for `demo`
    int32_t fps = 60;
    int64_t startMs = 0;          // run time of the first frame
    int64_t endMs = -1;           // frames are drawn before this time; < 0: last change + 40 s
    int64_t frameCount = -1;      // >= 0 overrides endMs
    std::string wavPath;          // soundtrack from the first frame to the end; empty: none
    bool timeParts = false;       // measure every part's draw calls
};

// One presented frame as the offline renderer hands it on.
struct OfflineFrame {
    int64_t index = 0;
    int64_t timeMs = 0;                 // the run time the part was drawn for
    int32_t part = 0;                   // index of the part drawn
    const char* eventName = nullptr;    // the event delivered this frame, if any
    int32_t eventPart = -1;             // the part it went to
    const uint32_t* pixels = nullptr;
    int32_t width = 0, height = 0;
};

// Returning false stops the run after this frame (for example when a writer fails).
using FrameSink = std::function<bool(const OfflineFrame&)>;

// Draw-call times of one part index; empty when the parts were not timed.
struct PartTiming {
    int32_t part = 0;
    std::string className;
    std::vector<double> drawMs;
};

struct OfflineResult {
    bool ok = false;              // false: the run could not start, or a sink or the WAV failed
    std::string error;
    int64_t frames = 0;
    double wallSeconds = 0.0;     // the whole run, loading included
    std::vector<std::string> partClasses;   // by part index
    std::vector<PartTiming> timings;         // by part index, when timeParts
};

// Run time of frame `index`: start + index / fps, truncated to the timer's millisecond.
int64_t offlineFrameMs(int64_t startMs, int32_t fps, int64_t index);
// Frames whose time lies before endMs.
int64_t offlineFramesBefore(int64_t startMs, int64_t endMs, int32_t fps);

// Plays the demo once, with the same program wiring and runner steps as `demo`, on the
// virtual platform: the run timer and the music advance exactly one frame at a time and
// each presented frame goes to the sink. The demo's own lines go to standard output as
// usual. The working directory is restored afterwards. Every run draws what `demo` draws,
// also the second and later runs of a process; each keeps its program's objects alive,
// as the program does.
OfflineResult renderOffline(const OfflineSettings& settings, const FrameSink& sink);

// Median and 99th percentile (nearest rank) of a set of times; 0 for an empty set.
double medianOf(std::vector<double> values);
double percentileOf(std::vector<double> values, double percent);

// The timings as the JSON document of --timings.
std::string timingsJson(const OfflineResult& result);
