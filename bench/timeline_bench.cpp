// The whole timeline at 60 frames a second through the offline renderer, without output:
// frames drawn per second of wall time and the speed-up over real time. The stage folder
// is the build's (<build>/stage beside <build>/bench/) unless DEMO_STAGE names another.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "OfflineRender.h"

namespace {

constexpr int32_t kFps = 60;

std::string stageFolder() {
    if (const char* stage = std::getenv("DEMO_STAGE")) return stage;
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string("stage") : (program.parent_path().parent_path() / "stage").string();
}

// The demo's own lines would land in the benchmark table: they go to /dev/null meanwhile.
class QuietStdout {
public:
    QuietStdout() {
        std::fflush(stdout);
        saved = dup(STDOUT_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, STDOUT_FILENO);
            close(null);
        }
    }
    ~QuietStdout() {
        std::fflush(stdout);
        if (saved >= 0) {
            dup2(saved, STDOUT_FILENO);
            close(saved);
        }
    }

private:
    int saved = -1;
};

void BM_timeline60fps(benchmark::State& state) {
    OfflineSettings settings;
    settings.stageDir = stageFolder();
    settings.fps = kFps;
    if (!std::filesystem::exists(settings.stageDir + "/synkTest.snc")) {
        state.SkipWithError(("no stage folder at " + settings.stageDir + " (build the stage target or set DEMO_STAGE)").c_str());
        return;
    }
    int64_t frames = 0;
    double wall = 0.0, loop = 0.0;
    for (auto _ : state) {
        std::chrono::steady_clock::time_point first, last;
        OfflineResult result;
        {
            QuietStdout quiet;
            result = renderOffline(settings, [&](const OfflineFrame& frame) {
                last = std::chrono::steady_clock::now();
                if (frame.index == 0) first = last;
                return true;
            });
        }
        if (!result.ok) {
            state.SkipWithError(result.error.c_str());
            return;
        }
        frames += result.frames;
        wall += result.wallSeconds;
        loop += std::chrono::duration<double>(last - first).count();
    }
    const double shown = static_cast<double>(frames) / kFps;
    state.counters["frames"] = static_cast<double>(frames) / state.iterations();
    // Loading (pictures, music decoding) included, as a capture pays it.
    state.counters["frames_per_s"] = frames / wall;
    state.counters["x_realtime"] = shown / wall;
    // The frame loop alone, from the first presented frame to the last.
    state.counters["x_realtime_loop"] = shown / loop;
}
BENCHMARK(BM_timeline60fps)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1)->Repetitions(3);

}  // namespace
