// Seeks in the show's music while it plays, as a scrub does (a seek, 30 ms of play, the
// next): how long the sound output waits for the audio library during 100 random seeks. The output here is a thread that pulls 1024 frames of
// the mix every 23 ms under the library's lock, as SDL's device thread does, and times how
// long each pull waited to take the lock. The stage folder is found as the timeline
// benchmark finds it (DEMO_STAGE names another).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "audio/MixingAudioLibrary.h"
#include "audio/StreamDecoder.h"
#include "core/Units.h"

namespace {

using Clock = std::chrono::steady_clock;

class PullingOutput : public MixingAudioLibrary {
public:
    ~PullingOutput() override { free(); }

    double longestWaitMs() const { return longestWaitNs.load() / 1e6; }
    int64_t pulls() const { return pullCount.load(); }

protected:
    bool openOutput() override {
        running = true;
        puller = std::thread([this] { pull(); });
        return true;
    }
    void closeOutput() override {
        running = false;
        puller.join();
    }
    void lockOutput() override { mutex.lock(); }
    void unlockOutput() override { mutex.unlock(); }

private:
    static constexpr size_t kFrames = 1024;

    void pull() {
        std::vector<int16_t> buffer(2 * kFrames);
        const auto period = std::chrono::nanoseconds(1000000000LL * kFrames / kOutputRate);
        auto due = Clock::now();
        while (running) {
            due += period;
            std::this_thread::sleep_until(due);
            const auto wanted = Clock::now();
            mutex.lock();
            const auto waited = Clock::now() - wanted;
            renderOutput(buffer.data(), kFrames);
            mutex.unlock();
            longestWaitNs = std::max<int64_t>(longestWaitNs.load(), waited.count());
            pullCount++;
        }
    }

    std::mutex mutex;
    std::thread puller;
    std::atomic<bool> running{false};
    std::atomic<int64_t> longestWaitNs{0};
    std::atomic<int64_t> pullCount{0};
};

std::string musicFile() {
    if (const char* stage = std::getenv("DEMO_STAGE")) return std::string(stage) + "/data/musik.mp3";
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return (error ? std::filesystem::path("stage") : program.parent_path().parent_path() / "stage") / "data/musik.mp3";
}

void BM_audioSeekWhilePlaying(benchmark::State& state) {
    const std::string music = musicFile();
    if (!std::filesystem::exists(music)) {
        state.SkipWithError(("no music at " + music + " (build the stage target or set DEMO_STAGE)").c_str());
        return;
    }
    std::vector<double> seekMs;
    double longestWaitMs = 0;
    for (auto _ : state) {
        PullingOutput audio;
        audio.init(-1, kOutputRate, 0, nullptr);
        const uint32_t stream = audio.streamCreateFile(0, music.c_str(), 0, 0, 0);
        audio.streamPlay(stream, 0, 0);
        std::mt19937 random(1);
        for (int i = 0; i < 100; i++) {
            const auto seconds = static_cast<uint32_t>(random() % 182);
            const auto started = Clock::now();
            audio.channelSetPosition(stream, static_cast<uint32_t>(seconds * units::kMusicBytesPerSecond));
            seekMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - started).count());
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
        }
        longestWaitMs = std::max(longestWaitMs, audio.longestWaitMs());
        state.counters["pulls"] = static_cast<double>(audio.pulls());
    }
    std::sort(seekMs.begin(), seekMs.end());
    state.counters["longest_output_wait_ms"] = longestWaitMs;
    state.counters["seek_ms_median"] = seekMs[seekMs.size() / 2];
    state.counters["seek_ms_longest"] = seekMs.back();
}
BENCHMARK(BM_audioSeekWhilePlaying)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
