#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "DemoFakes.h"
#include "support/TempDir.h"
#include "demo/Demo.h"
#include "demo/DemoRunner.h"
#include "demo/PerfTimer.h"

namespace {

constexpr int64_t kClockBase = 3000000000;  // the run timer starts at an arbitrary counter

// A run of a Demo of recording parts on a scripted display, music and clock. The log
// shows every call to the platform and to the parts, in order.
class DemoRunnerTest : public ::testing::Test {
protected:
    DemoRunnerTest() : demo(4, 3, 32, 0, nullptr) { clock.set(kClockBase); }

    void addParts(int count) {
        for (int i = 0; i < count; i++) {
            parts.push_back(std::make_unique<RecordingPart>(&log, std::to_string(i)));
            demo.addPart(parts.back().get());
        }
    }

    // Runs with frames at the given milliseconds of run time; returns what was printed.
    std::string run(std::vector<int64_t> frameMs, std::vector<uint32_t> positions,
                    const std::string& script) {
        ScriptedDisplay display(&log, &clock, kClockBase + loadingNs, std::move(frameMs));
        ScriptedMusic music(&log, std::move(positions));
        std::string syncFile = script.empty() ? dir.path + "/none.snc" : dir.write("synkTest.snc", script);
        DemoRunner runner(&display, &music, clock);
        log.clear();
        testing::internal::CaptureStdout();
        runner.run(&demo, "data/musik.mp3", syncFile.c_str());
        std::string printed = testing::internal::GetCapturedStdout();
        drawTarget = display.frame();
        return printed;
    }

    // The log without the loading steps: what happened once the loop started.
    CallLog frames() const {
        CallLog result;
        bool playing = false;
        for (const std::string& call : log) {
            if (playing) result.push_back(call);
            if (call == "music play") playing = true;
        }
        return result;
    }

    CallLog log;
    std::vector<std::unique_ptr<RecordingPart>> parts;
    Demo demo;
    VirtualClock clock;
    TempDir dir;
    Bitmap* drawTarget = nullptr;
    int64_t loadingNs = 0;  // how far the parts' init moves the clock
};

// A recording part whose init takes time on the run's clock.
class SlowLoadingPart : public RecordingPart {
public:
    SlowLoadingPart(CallLog* log, std::string name, VirtualClock* clock, int64_t loadingNs)
        : RecordingPart(log, std::move(name)), clock(clock), loadingNs(loadingNs) {}
    void init(Bitmap* frame, NewRenderDriver* driver) override {
        RecordingPart::init(frame, driver);
        clock->advance(loadingNs);
    }
    VirtualClock* clock;
    int64_t loadingNs;
};

// A recording part whose draw takes at least two milliseconds of wall time.
class SlowDrawingPart : public RecordingPart {
public:
    using RecordingPart::RecordingPart;
    void draw(Bitmap* target, NewRenderDriver* driver, float time) override {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(2);
        while (std::chrono::steady_clock::now() < until) {}
        RecordingPart::draw(target, driver, time);
    }
};

class RecordingObserver : public DrawObserver {
public:
    void partDrawn(int32_t part, float time, double drawSeconds) override {
        drawn.push_back(std::to_string(part) + " " + formatTime(time));
        seconds.push_back(drawSeconds);
    }
    CallLog drawn;
    std::vector<double> seconds;
};

// A front end that steps the runner itself sees the same calls as run makes; the
// observer hears of each draw while it is set, with the draw call's own duration.
TEST_F(DemoRunnerTest, StepsPlayLikeRunAndTheObserverTimesEachDraw) {
    parts.push_back(std::make_unique<RecordingPart>(&log, "0"));
    parts.push_back(std::make_unique<SlowDrawingPart>(&log, "1"));
    for (auto& part : parts) demo.addPart(part.get());
    ScriptedDisplay display(&log, &clock, kClockBase, {});
    ScriptedMusic music(&log, {});
    DemoRunner runner(&display, &music, clock);
    RecordingObserver observer;
    testing::internal::CaptureStdout();
    runner.begin(&demo, "data/musik.mp3", dir.write("synkTest.snc", "QRM SYNCSCRIPT\n0\n1\nx\n1\n\n").c_str());
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed.substr(printed.size() - 16), "loaded actions \n");
    runner.setDrawObserver(&observer);
    for (int64_t ms : {500, 1500}) {
        clock.set(kClockBase + ms * 1000000);
        runner.playFrame();
    }
    runner.setDrawObserver(nullptr);
    runner.playFrame();
    runner.finish();
    EXPECT_EQ(log, CallLog({"music load data/musik.mp3", "open 4x3 fullscreen 32", "init 0", "init 1", "music play",
                            "draw 0 0.5", "present", "draw 1 1.5", "present", "draw 1 1.5", "present",
                            "music stop", "music free"}));
    EXPECT_EQ(observer.drawn, CallLog({"0 0.5", "1 1.5"}));
    ASSERT_EQ(observer.seconds.size(), 2u);
    EXPECT_GE(observer.seconds[0], 0.0);
    EXPECT_GE(observer.seconds[1], 0.002);
}

TEST_F(DemoRunnerTest, KeyBeforeTheFirstFrameStillStartsAndStopsTheMusic) {
    addParts(2);
    std::string printed = run({}, {}, "");
    EXPECT_EQ(log, CallLog({"music load data/musik.mp3", "open 4x3 fullscreen 32", "init 0", "init 1",
                            "music play", "music stop", "music free"}));
    std::string expected = "nu e jag h\xE4r 1 \n";
    for (int i = 0; i < 3; i++) expected += "jag e h\xE4r for fuckes sake \n";
    expected += "inited all parts \ninited all \nloaded actions \n";
    EXPECT_EQ(printed, expected);
}

TEST_F(DemoRunnerTest, DefaultWindowsWithoutAScript) {
    addParts(3);
    run({500000, 1500000, 2500000}, {}, "");
    EXPECT_EQ(parts[0]->start, 0.0f);
    EXPECT_EQ(parts[0]->end, 1000.0f);
    EXPECT_EQ(parts[2]->start, 1000.0f);
    EXPECT_EQ(parts[2]->end, 2000.0f);
    // Beyond every window part 0 is drawn again.
    EXPECT_EQ(frames(), CallLog({"draw 0 500", "present", "draw 1 1500", "present", "draw 0 2500", "present",
                                 "music stop", "music free"}));
    EXPECT_EQ(parts[0]->drawTarget, drawTarget);
}

TEST_F(DemoRunnerTest, TheEarlierPartWinsAtAChangeTime) {
    addParts(3);
    std::string printed = run({12500, 12600, 20000, 20001}, {}, "QRM SYNCSCRIPT\n0\n2\na\n12.5\n\nb\n20\n\n");
    EXPECT_EQ(frames(), CallLog({"draw 0 12.5", "present", "draw 1 12.6", "present", "draw 1 20", "present",
                                 "draw 2 20.001", "present", "music stop", "music free"}));
    EXPECT_NE(printed.find("change 0: 12.500000\nchange 1: 20.000000\nloaded actions \n"), std::string::npos);
}

TEST_F(DemoRunnerTest, EventGoesToThePartOfThePreviousFrame) {
    addParts(2);
    run({500, 1500, 2500, 3500}, {0, 200, 200, 200},
        "QRM SYNCSCRIPT\n2\nfirst\n100\n\nsecond\n100\n\n1\nx\n1\n\n");
    // Equal times fire on consecutive frames, one a frame.
    EXPECT_EQ(frames(), CallLog({"draw 0 0.5", "present", "event 0 first", "draw 1 1.5", "present",
                                 "event 1 second", "draw 1 2.5", "present", "draw 1 3.5", "present",
                                 "music stop", "music free"}));
}

TEST_F(DemoRunnerTest, EventsAtOrBelowZeroFireFromTheFirstFrameOnly) {
    addParts(2);
    // A module reports position 0: an event above 0 never fires.
    run({100, 200, 300}, {0}, "QRM SYNCSCRIPT\n3\nlater\n1\n\nzero\n0\n\nbefore\n-5\n\n1\nx\n0\n\n");
    EXPECT_EQ(frames(), CallLog({"event 0 before", "draw 1 0.1", "present", "event 1 zero", "draw 1 0.2",
                                 "present", "draw 1 0.3", "present", "music stop", "music free"}));
}

TEST_F(DemoRunnerTest, PositionIsComparedAsASignedValue) {
    addParts(1);
    run({100, 200}, {0xFFFFFFF0u, 5}, "QRM SYNCSCRIPT\n1\nhit\n2\n\n0\n");
    EXPECT_EQ(frames(), CallLog({"draw 0 0.1", "present", "event 0 hit", "draw 0 0.2", "present",
                                 "music stop", "music free"}));
}

TEST_F(DemoRunnerTest, LoadingTimeIsNotPartOfTheRunTime) {
    // Two parts that take 3.25 s each to load: the run timer starts once both are done.
    for (int i = 0; i < 2; i++) {
        parts.push_back(std::make_unique<SlowLoadingPart>(&log, std::to_string(i), &clock, 3250000000));
        demo.addPart(parts.back().get());
    }
    loadingNs = 6500000000;
    run({0, 250}, {}, "QRM SYNCSCRIPT\n0\n1\nx\n0.1\n\n");
    EXPECT_EQ(frames(), CallLog({"draw 0 0", "present", "draw 1 0.25", "present", "music stop", "music free"}));
}

}  // namespace
