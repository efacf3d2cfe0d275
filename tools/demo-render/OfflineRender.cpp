#include "OfflineRender.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "audio/MusicPlayer.h"
#include "core/Units.h"
#include "audio/VirtualAudioLibrary.h"
#include "core/PlatformFiles.h"
#include "demo/Clock.h"
#include "demo/DemoRunner.h"
#include "program/DemoProgram.h"
#include "display/MemoryToolkit.h"
#include "display/PtcDisplayDriver.h"

namespace {

constexpr int64_t kTicksPerSecond = 1000000000;
// The clock sits half a millisecond into each frame's millisecond, so the run timer's
// truncation to whole milliseconds can never round a frame down into the one before.
constexpr int64_t kHalfMsTicks = 500000;

// The displays of all runs: never released, like the program's own display, and kept
// reachable for leak checkers.
struct KeptDisplay {
    MemoryToolkit* toolkit;
    PtcDisplayDriver* driver;
};
std::vector<KeptDisplay>* const keptDisplays = new std::vector<KeptDisplay>();

class OfflineSession {
public:
    OfflineSession(const OfflineSettings& settings, const FrameSink& sink)
        : settings(settings), sink(sink),
          // The program never releases its display; neither does this run, so that the frame
          // view's release line does not follow the demo's last line.
          toolkit(new MemoryToolkit()), driver(new PtcDisplayDriver(*toolkit)), music(&audio) {
        keptDisplays->push_back({toolkit, driver});
    }

    OfflineResult run() {
        const auto began = std::chrono::steady_clock::now();
        DemoProgram program(driver, &music, clock);
        program.begin();
        DemoRunner& runner = program.runner();
        prepare(runner);
        while (next < frameCount && result.error.empty()) playFrame(runner);
        // Brings the soundtrack up to the end of the last frame.
        audio.setTimeSeconds(audioSeconds(next));
        if (!settings.wavPath.empty() && !audio.endWavCapture()) fail("writing " + settings.wavPath + " failed");
        program.finish();

        result.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
        result.frames = next;
        result.ok = result.error.empty();
        for (size_t i = 0; i < partTimes.size(); i++)
            result.timings.push_back({static_cast<int32_t>(i), result.partClasses[i], partTimes[i]});
        return std::move(result);
    }

private:
    // The run has loaded everything and read the sync script: count the frames, consume
    // the events before the start and open the soundtrack.
    void prepare(DemoRunner& runner) {
        for (int32_t i = 0; i < runner.partCount(); i++) result.partClasses.push_back(runner.partName(i));

        if (settings.frameCount >= 0) {
            frameCount = settings.frameCount;
        } else {
            int64_t endMs = settings.endMs;
            if (endMs < 0) {
                const double lastChange = runner.changeCount() > 0 ? runner.change(runner.changeCount() - 1) : 0.0;
                endMs = static_cast<int64_t>(std::llround(lastChange * 1000.0)) + units::kShowTailMs;
            }
            frameCount = offlineFramesBefore(settings.startMs, endMs, settings.fps);
        }

        if (settings.startMs > 0) {
            // The music plays up to the start (the same samples as playing through), and the
            // run timer's clock is set there, so the restart moves neither.
            audio.setTimeSeconds(audioSeconds(0));
            clock.set(frameTicks(0));
            runner.restart(settings.startMs);
        }
        if (!settings.wavPath.empty() && !audio.beginWavCapture(settings.wavPath))
            fail("cannot write " + settings.wavPath);
        if (settings.timeParts) partTimes.resize(static_cast<size_t>(runner.partCount()));
    }

    void playFrame(DemoRunner& runner) {
        clock.set(frameTicks(next));
        audio.setTimeSeconds(audioSeconds(next));
        const FrameReport report = runner.playFrame();
        if (settings.timeParts) partTimes[static_cast<size_t>(report.part)].push_back(report.drawSeconds * 1000.0);

        OfflineFrame frame;
        frame.index = next;
        frame.timeMs = offlineFrameMs(settings.startMs, settings.fps, next);
        frame.part = report.part;
        frame.eventName = report.eventName;
        frame.eventPart = report.eventPart;
        frame.pixels = toolkit->lastFrame().data();
        frame.width = toolkit->frameWidth();
        frame.height = toolkit->frameHeight();
        next++;
        if (!sink(frame)) fail("frame output failed");
    }

    int64_t frameTicks(int64_t frame) const {
        return offlineFrameMs(settings.startMs, settings.fps, frame) * (kTicksPerSecond / 1000) + kHalfMsTicks;
    }

    double audioSeconds(int64_t frame) const {
        return static_cast<double>(settings.startMs) / 1000.0 + static_cast<double>(frame) / settings.fps;
    }

    void fail(const std::string& message) {
        if (result.error.empty()) result.error = message;
    }

    const OfflineSettings& settings;
    const FrameSink& sink;
    VirtualClock clock{kTicksPerSecond};
    MemoryToolkit* toolkit;
    PtcDisplayDriver* driver;
    VirtualAudioLibrary audio;
    MusicPlayer music;

    int64_t frameCount = 0;
    int64_t next = 0;           // index of the frame to draw next
    std::vector<std::vector<double>> partTimes;
    OfflineResult result;
};

// Restores the working directory when the run is over.
class WorkingDirectory {
public:
    WorkingDirectory() : saved(platform::workingDirectory()) {}
    ~WorkingDirectory() {
        if (!saved.empty() && !platform::changeDirectory(saved))
            std::fprintf(stderr, "demo-render: cannot return to the working directory %s\n", saved.c_str());
    }

private:
    std::string saved;
};

}  // namespace

int64_t offlineFrameMs(int64_t startMs, int32_t fps, int64_t index) {
    return startMs + index * 1000 / fps;
}

int64_t offlineFramesBefore(int64_t startMs, int64_t endMs, int32_t fps) {
    if (endMs <= startMs || fps <= 0) return 0;
    // Frame i is before the end while i * 1000 / fps < end - start, exactly.
    return ((endMs - startMs) * fps + 999) / 1000;
}

OfflineResult renderOffline(const OfflineSettings& settings, const FrameSink& sink) {
    OfflineResult failed;
    if (settings.fps <= 0) {
        failed.error = "the frame rate must be positive";
        return failed;
    }
    if (settings.startMs < 0) {
        failed.error = "the start time must not be negative";
        return failed;
    }
    WorkingDirectory restore;
    if (!platform::changeDirectory(settings.stageDir)) {
        failed.error = "cannot enter " + settings.stageDir;
        return failed;
    }
    std::fflush(stdout);
    OfflineSession session(settings, sink);
    OfflineResult result = session.run();
    std::fflush(stdout);
    return result;
}

double medianOf(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

double percentileOf(std::vector<double> values, double percent) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const double rank = std::ceil(percent / 100.0 * static_cast<double>(values.size()));
    const size_t index = rank < 1.0 ? 0 : static_cast<size_t>(rank) - 1;
    return values[std::min(index, values.size() - 1)];
}

std::string timingsJson(const OfflineResult& result) {
    char line[256];
    std::snprintf(line, sizeof line, "{\"frames\": %lld, \"wall_s\": %.3f, \"parts\": [",
                  static_cast<long long>(result.frames), result.wallSeconds);
    std::string json = line;
    for (size_t i = 0; i < result.timings.size(); i++) {
        const PartTiming& timing = result.timings[i];
        std::snprintf(line, sizeof line,
                      "%s\n  {\"part\": %d, \"class\": \"%s\", \"frames\": %zu, \"median_ms\": %.4f, \"p99_ms\": %.4f}",
                      i ? "," : "", timing.part, timing.className.c_str(), timing.drawMs.size(),
                      medianOf(timing.drawMs), percentileOf(timing.drawMs, 99.0));
        json += line;
    }
    json += result.timings.empty() ? "]}\n" : "\n]}\n";
    return json;
}
