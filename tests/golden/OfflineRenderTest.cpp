#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "FrameWriters.h"
#include "OfflineRender.h"
#include "audio/MusicPlayer.h"
#include "audio/VirtualAudioLibrary.h"
#include "demo/Clock.h"
#include "demo/DemoRunner.h"
#include "display/MemoryToolkit.h"
#include "display/PtcDisplayDriver.h"
#include "program/DemoProgram.h"
#include "parts/Show.h"
#include "support/ShowTimingFile.h"
#include "support/TempDir.h"

namespace {

TEST(OfflineFrameTimes, AreStartPlusIndexOverFpsTruncatedToTheMillisecond) {
    EXPECT_EQ(offlineFrameMs(0, 60, 0), 0);
    EXPECT_EQ(offlineFrameMs(0, 60, 1), 16);
    EXPECT_EQ(offlineFrameMs(0, 60, 2), 33);
    EXPECT_EQ(offlineFrameMs(0, 60, 3), 50);
    EXPECT_EQ(offlineFrameMs(0, 60, 10920), 182000);
    EXPECT_EQ(offlineFrameMs(1500, 10, 3), 1800);
    EXPECT_EQ(offlineFrameMs(7, 3, 1), 340);
}

TEST(OfflineFrameTimes, FramesBeforeTheEndCountEveryFrameThatStartsBeforeIt) {
    EXPECT_EQ(offlineFramesBefore(0, 1000, 60), 60);
    EXPECT_EQ(offlineFramesBefore(0, 1001, 60), 61);
    EXPECT_EQ(offlineFramesBefore(0, 17, 60), 2);    // frames at 0 and 16 ms
    EXPECT_EQ(offlineFramesBefore(0, 16, 60), 1);
    EXPECT_EQ(offlineFramesBefore(0, 1000, 7), 7);
    EXPECT_EQ(offlineFramesBefore(2000, 3000, 10), 10);
    EXPECT_EQ(offlineFramesBefore(500, 500, 60), 0);
    EXPECT_EQ(offlineFramesBefore(900, 500, 60), 0);
    for (int64_t end = 1; end < 400; end++) {
        const int64_t count = offlineFramesBefore(0, end, 60);
        EXPECT_LT(offlineFrameMs(0, 60, count - 1), end);
        EXPECT_GE(offlineFrameMs(0, 60, count), end);
    }
}

TEST(OfflineStatistics, MedianAndNearestRankPercentile) {
    EXPECT_EQ(medianOf({}), 0.0);
    EXPECT_EQ(medianOf({3.0}), 3.0);
    EXPECT_EQ(medianOf({5.0, 1.0, 3.0}), 3.0);
    EXPECT_EQ(medianOf({4.0, 1.0, 3.0, 2.0}), 2.5);
    std::vector<double> hundred;
    for (int i = 100; i >= 1; i--) hundred.push_back(i);
    EXPECT_EQ(percentileOf(hundred, 99.0), 99.0);
    EXPECT_EQ(percentileOf(hundred, 100.0), 100.0);
    hundred.push_back(1000.0);   // 101 values: the 99th percentile is the 100th smallest
    EXPECT_EQ(percentileOf(hundred, 99.0), 100.0);
    EXPECT_EQ(percentileOf({2.0}, 99.0), 2.0);
    EXPECT_EQ(percentileOf({}, 99.0), 0.0);
}

TEST(OfflineStatistics, TimingsJsonListsEveryPartIndex) {
    OfflineResult result;
    result.frames = 3;
    result.wallSeconds = 1.25;
    result.timings.push_back({0, "ForstaPart", {1.0, 3.0}});
    result.timings.push_back({1, "GrymtPart", {}});
    EXPECT_EQ(timingsJson(result),
              "{\"frames\": 3, \"wall_s\": 1.250, \"parts\": [\n"
              "  {\"part\": 0, \"class\": \"ForstaPart\", \"frames\": 2, \"median_ms\": 2.0000, \"p99_ms\": 3.0000},\n"
              "  {\"part\": 1, \"class\": \"GrymtPart\", \"frames\": 0, \"median_ms\": 0.0000, \"p99_ms\": 0.0000}\n"
              "]}\n");
    EXPECT_EQ(timingsJson(OfflineResult()), "{\"frames\": 0, \"wall_s\": 0.000, \"parts\": []}\n");
}

TEST(OfflineRender, RefusesSettingsThatCannotRun) {
    OfflineSettings settings;
    settings.fps = 0;
    EXPECT_FALSE(renderOffline(settings, [](const OfflineFrame&) { return true; }).ok);
    settings.fps = 60;
    settings.stageDir = "/nonexistent-stage";
    const OfflineResult result = renderOffline(settings, [](const OfflineFrame&) { return true; });
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, "cannot enter /nonexistent-stage");
}

// A stage with the generated data and a sync script of our own: a change every second from
// 1 s on, one for each part after the first, and events at 0.5 s, 1.5 s and 3 s of music.
class OfflineRenderRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(std::string(TEST_STAGE_DIR) + "/data/musik.mp3"))
            << "no stage folder at " << TEST_STAGE_DIR << ": build the `stage` target";
        const std::filesystem::path data = std::string(TEST_STAGE_DIR) + "/data";
        std::error_code linkError;
        std::filesystem::create_directory_symlink(data, stage / "data", linkError);
        // Windows gives links to privileged users only.
        if (linkError) std::filesystem::copy(data, stage / "data", std::filesystem::copy_options::recursive);
        std::ofstream script(stage / "synkTest.snc");
        script << "QRM SYNCSCRIPT\n3\nPOWPOW\n88200\n\nx\n264600\n\ny\n529200\n\n" << kLastChange << "\n";
        for (int i = 1; i <= kLastChange; i++) script << "part\n" << i << ".0\n\n";
        settings.stageDir = stage.string();
        settings.fps = 10;
    }

    OfflineResult run() {
        frames.clear();
        testing::internal::CaptureStdout();
        OfflineResult result = renderOffline(settings, [this](const OfflineFrame& frame) {
            Seen seen{frame.index, frame.timeMs, frame.part, frame.eventName ? frame.eventName : "", frame.eventPart,
                      frame.width, frame.height};
            frames.push_back(seen);
            return frame.index + 1 != stopAfter;
        });
        printed = testing::internal::GetCapturedStdout();
        return result;
    }

    struct Seen {
        int64_t index, timeMs;
        int32_t part;
        std::string event;
        int32_t eventPart;
        int32_t width, height;
    };
    static constexpr int kLastChange = show::kPartCount - 1;
    TempDir folder;
    const std::filesystem::path stage{folder.path};
    OfflineSettings settings;
    std::vector<Seen> frames;
    std::string printed;
    int64_t stopAfter = -1;
};

TEST_F(OfflineRenderRun, FramesFollowTheSteppedClockThroughThePartWindows) {
    settings.frameCount = 25;
    const OfflineResult result = run();
    ASSERT_TRUE(result.ok) << result.error;
    ASSERT_GE(result.partClasses.size(), 3u);
    EXPECT_EQ(result.frames, 25);
    ASSERT_EQ(frames.size(), 25u);
    for (int64_t i = 0; i < 25; i++) {
        EXPECT_EQ(frames[i].index, i);
        EXPECT_EQ(frames[i].timeMs, i * 100);
        EXPECT_EQ(frames[i].width, 512);
        EXPECT_EQ(frames[i].height, 384);
        // At a change time the earlier part is drawn.
        const int32_t expected = i <= 10 ? 0 : i <= 20 ? 1 : 2;
        EXPECT_EQ(frames[i].part, expected) << "frame " << i;
    }
    EXPECT_NE(printed.find("loaded actions \n"), std::string::npos);
    EXPECT_EQ(printed.substr(printed.size() - 36), "deallocated internal Bitmap buffer \n");
}

TEST_F(OfflineRenderRun, EventsFireWhenTheMusicFollowingTheClockReachesThem) {
    settings.frameCount = 20;
    ASSERT_TRUE(run().ok);
    std::vector<std::string> events;
    for (const Seen& frame : frames) {
        if (frame.event.empty()) continue;
        events.push_back(frame.event + "@" + std::to_string(frame.index) + "->" + std::to_string(frame.eventPart));
    }
    // 0.5 s of music is 88200 bytes: due in frame 5, given to the part of frame 4.
    EXPECT_EQ(events, std::vector<std::string>({"POWPOW@5->0", "x@15->1"}));
}

TEST_F(OfflineRenderRun, AStartPartWayConsumesTheEarlierEventsAndWritesItsSoundtrack) {
    settings.startMs = 1200;
    settings.frameCount = 20;
    settings.wavPath = (stage / "sound.wav").string();
    const OfflineResult result = run();
    ASSERT_TRUE(result.ok) << result.error;
    ASSERT_EQ(frames.size(), 20u);
    EXPECT_EQ(frames[0].timeMs, 1200);
    EXPECT_EQ(frames[0].part, 1);
    std::vector<std::string> events;
    for (const Seen& frame : frames)
        if (!frame.event.empty()) events.push_back(frame.event + "@" + std::to_string(frame.timeMs));
    EXPECT_EQ(events, std::vector<std::string>({"x@1500", "y@3000"}));
    // Two seconds of 16-bit stereo at 44100 Hz after the 44-byte header.
    EXPECT_EQ(std::filesystem::file_size(settings.wavPath), 44u + 2 * 176400u);
}

TEST_F(OfflineRenderRun, WithoutAnEndItRunsToFortySecondsAfterTheLastChange) {
    settings.fps = 1;
    settings.timeParts = true;
    const OfflineResult result = run();
    ASSERT_TRUE(result.ok) << result.error;
    const int64_t frameCount = kLastChange + 40;
    EXPECT_EQ(result.frames, frameCount);
    EXPECT_EQ(frames.back().timeMs, (frameCount - 1) * 1000);
    // Every draw call was timed, and under the part that drew it: part k (0 < k < last)
    // draws its change time k + 1 (the earlier part wins there), the last part everything
    // after its own start.
    const size_t parts = result.partClasses.size();
    ASSERT_GE(parts, 3u);
    ASSERT_EQ(result.timings.size(), parts);
    size_t timed = 0;
    for (const PartTiming& timing : result.timings) timed += timing.drawMs.size();
    EXPECT_EQ(timed, static_cast<size_t>(frameCount));
    EXPECT_EQ(result.timings[0].drawMs.size(), 2u);    // 0 s and 1 s
    EXPECT_EQ(result.timings[1].drawMs.size(), 1u);    // 2 s
    EXPECT_EQ(result.timings[parts - 1].drawMs.size(), static_cast<size_t>(frameCount) - parts);
    EXPECT_EQ(result.timings[0].className, result.partClasses[0]);
}

TEST_F(OfflineRenderRun, AnEndTimeCountsTheFramesBeforeIt) {
    settings.startMs = 500;
    settings.endMs = 1000;
    ASSERT_TRUE(run().ok);
    ASSERT_EQ(frames.size(), 5u);
    EXPECT_EQ(frames.back().timeMs, 900);
}

TEST_F(OfflineRenderRun, ASinkThatFailsStopsTheRun) {
    settings.frameCount = 30;
    stopAfter = 4;
    const OfflineResult result = run();
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.frames, 4);
    EXPECT_EQ(frames.size(), 4u);
}

// Each run starts the demo's random sequence and the classes' flash state afresh: a second
// run in the same process draws the house part's trembling label, the part after it and
// their flashes exactly as the first.
TEST(OfflineRenderRepeat, ASecondRunOfTheProcessDrawsTheSameFrames) {
    int32_t house = 0;
    while (house < show::kPartCount && std::string(show::kParts[house].className) != "HusetPart") house++;
    ASSERT_LT(house + 1, show::kPartCount) << "the record has no house part with a part after it";
    const double change = sourceTiming().partStart(house + 1);
    OfflineSettings settings;
    settings.stageDir = TEST_STAGE_DIR;
    settings.fps = 10;
    settings.startMs = static_cast<int64_t>((change - 3.0) * 1000.0);
    settings.endMs = static_cast<int64_t>((change + 1.6) * 1000.0);
    // A flash is delivered in the first frame at or after it.
    int32_t flashesDue = 0;
    for (int32_t part : {house, house + 1})
        for (double at : sourceTiming().flashesOf(part))
            flashesDue += at * 1000.0 >= settings.startMs && at * 1000.0 <= settings.endMs - 100;
    struct Run {
        std::vector<uint32_t> crcs;
        std::vector<int32_t> parts;
        int32_t flashes = 0;
    };
    auto render = [&] {
        Run run;
        testing::internal::CaptureStdout();
        const OfflineResult result = renderOffline(settings, [&](const OfflineFrame& frame) {
            run.crcs.push_back(frameCrc(frame.pixels, frame.width, frame.height));
            run.parts.push_back(frame.part);
            run.flashes += frame.eventName != nullptr;
            return true;
        });
        testing::internal::GetCapturedStdout();
        EXPECT_TRUE(result.ok) << result.error;
        return run;
    };
    const Run first = render();
    const Run second = render();
    ASSERT_EQ(first.crcs.size(), 46u);
    EXPECT_EQ(first.parts.front(), house);
    EXPECT_EQ(first.parts.back(), house + 1);
    EXPECT_GT(flashesDue, 0);
    EXPECT_EQ(first.flashes, flashesDue);
    EXPECT_EQ(second.parts, first.parts);
    for (size_t i = 0; i < first.crcs.size(); i++) EXPECT_EQ(second.crcs[i], first.crcs[i]) << "frame " << i;
}

// One show session restarted inside every part of the record, each time after playing half
// a second elsewhere (across a flash, the house's trembling label, the greetings' blur, the
// title's fade), draws what `demo-render --start T --frames 1` draws: a flash the run
// starting there has not seen is not on screen, and every carried state is as it finds it.
TEST(SessionRestart, DrawsWhatARunStartingThereDrawsInEveryPart) {
    struct Case {
        int64_t ms;
        std::vector<uint32_t> frame;
    };
    std::vector<Case> cases;
    for (int i = 0; i < show::kPartCount; i++) {
        const double start = sourceTiming().partStart(i);
        const double end = i + 1 < show::kPartCount ? sourceTiming().partStart(i + 1) : start + 20.0;
        const std::vector<double> flashes = sourceTiming().flashesOf(i);
        const double at = flashes.empty() ? (start + end) / 2.0 : flashes.front() + 0.25;
        OfflineSettings settings;
        settings.stageDir = TEST_STAGE_DIR;
        settings.startMs = static_cast<int64_t>(at * 1000.0);
        settings.frameCount = 1;
        Case one{settings.startMs, {}};
        testing::internal::CaptureStdout();
        const OfflineResult result = renderOffline(settings, [&](const OfflineFrame& frame) {
            one.frame.assign(frame.pixels, frame.pixels + static_cast<size_t>(frame.width) * frame.height);
            return true;
        });
        testing::internal::GetCapturedStdout();
        ASSERT_TRUE(result.ok) << result.error;
        cases.push_back(std::move(one));
    }

    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(TEST_STAGE_DIR);
    MemoryToolkit toolkit;
    PtcDisplayDriver display(toolkit);
    VirtualAudioLibrary audio;
    MusicPlayer music(&audio);
    VirtualClock clock;
    testing::internal::CaptureStdout();
    DemoProgram program(&display, &music, clock);
    program.begin();
    testing::internal::GetCapturedStdout();
    DemoRunner& session = program.runner();
    double audioSeconds = 0.0;
    auto frameAt = [&](int64_t ms) {
        clock.set(ms * 1000000 + 500000);
        return session.playFrame();
    };
    // Backwards through the show, so every restart also goes back past events and flashes.
    for (auto it = cases.rbegin(); it != cases.rend(); ++it) {
        const int64_t leadIn = it->ms - 500;
        clock.set(leadIn * 1000000 + 500000);
        session.restart(leadIn);
        for (int k = 0; k < 30; k++) {
            audioSeconds += 1.0 / 60.0;
            audio.setTimeSeconds(audioSeconds);
            frameAt(leadIn + k * 1000 / 60);
        }
        clock.set(it->ms * 1000000 + 500000);
        EXPECT_EQ(session.restart(it->ms), it->ms);
        const FrameReport report = frameAt(it->ms);
        const std::vector<uint32_t>& drawn = toolkit.lastFrame();
        ASSERT_EQ(drawn.size(), it->frame.size());
        size_t differing = 0;
        for (size_t p = 0; p < drawn.size(); p++) differing += drawn[p] != it->frame[p];
        EXPECT_EQ(differing, 0u) << "at " << it->ms << " ms, part " << report.part << " " << session.partName(report.part);
    }
    testing::internal::CaptureStdout();
    program.finish();
    testing::internal::GetCapturedStdout();
    std::filesystem::current_path(previous);
}

}  // namespace
