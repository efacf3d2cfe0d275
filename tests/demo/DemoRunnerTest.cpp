#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "DemoFakes.h"
#include "support/TempDir.h"
#include "demo/Demo.h"
#include "demo/DemoRunner.h"
#include "core/LibcRandom.h"
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

// A front end that steps the runner itself sees the same calls as run makes; each frame
// reports what it drew and delivered, with the draw call's own duration.
TEST_F(DemoRunnerTest, StepsPlayLikeRunAndReportEachFrame) {
    parts.push_back(std::make_unique<RecordingPart>(&log, "0"));
    parts.push_back(std::make_unique<SlowDrawingPart>(&log, "1"));
    for (auto& part : parts) demo.addPart(part.get());
    ScriptedDisplay display(&log, &clock, kClockBase, {});
    ScriptedMusic music(&log, {0, 10, 10});
    DemoRunner runner(&display, &music, clock);
    testing::internal::CaptureStdout();
    runner.begin(&demo, "data/musik.mp3",
                 dir.write("synkTest.snc", "QRM SYNCSCRIPT\n1\ncue\n5\n\n1\nx\n1\n\n").c_str());
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed.substr(printed.size() - 16), "loaded actions \n");
    std::vector<FrameReport> reports;
    for (int64_t ms : {500, 1500, 1500}) {
        clock.set(kClockBase + ms * 1000000);
        reports.push_back(runner.playFrame());
    }
    runner.finish();
    EXPECT_EQ(log, CallLog({"music load data/musik.mp3", "open 4x3 fullscreen 32", "init 0", "init 1", "music play",
                            "draw 0 0.5", "present", "event 0 cue", "draw 1 1.5", "present", "draw 1 1.5",
                            "present", "music stop", "music free"}));
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0].part, 0);
    EXPECT_EQ(reports[0].time, 0.5f);
    EXPECT_EQ(reports[0].event, -1);
    EXPECT_EQ(reports[1].part, 1);
    EXPECT_EQ(reports[1].event, 0);
    EXPECT_STREQ(reports[1].eventName, "cue");
    EXPECT_EQ(reports[1].eventPart, 0);
    EXPECT_EQ(reports[2].event, -1);
    EXPECT_EQ(reports[2].eventPart, -1);
    EXPECT_GE(reports[0].drawSeconds, 0.0);
    EXPECT_GE(reports[1].drawSeconds, 0.002);
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

// A part whose init draws from the demo's random sequence, as the kebab's loader does.
class RandomInitPart : public RecordingPart {
public:
    using RecordingPart::RecordingPart;
    void init(Bitmap* frame, NewRenderDriver* driver) override {
        RecordingPart::init(frame, driver);
        drawn = demoRandom().next();
    }
    int32_t drawn = 0;
};

// A restart puts the next event at its time in either direction, moves the music and the
// run timer there and rewinds every part; a replaced part is inited as the first one was,
// on the same frame and from the same random numbers, and takes its window; the queries
// read the script and the windows.
TEST_F(DemoRunnerTest, RestartsReplacedPartsAndQueries) {
    parts.push_back(std::make_unique<RecordingPart>(&log, "0"));
    parts.push_back(std::make_unique<RandomInitPart>(&log, "1"));
    for (auto& part : parts) demo.addPart(part.get());
    ScriptedDisplay display(&log, &clock, kClockBase, {});
    ScriptedMusic music(&log, {});
    DemoRunner runner(&display, &music, clock);
    testing::internal::CaptureStdout();
    // Events sorted: a at 1 s, b and c at 2 s, d at 9 s (music bytes); part 1 from 3 s on.
    runner.begin(&demo, "data/musik.mp3",
                 dir.write("s.snc", "QRM SYNCSCRIPT\n4\nd\n1587600\n\nb\n352800\n\na\n176400\n\nc\n352800\n\n"
                                    "1\nx\n3\n\n").c_str());
    testing::internal::GetCapturedStdout();
    for (auto [ms, next] : std::vector<std::pair<int64_t, int32_t>>{{2001, 3}, {2000, 1}, {0, 0}, {100000, 4}, {1500, 1}}) {
        EXPECT_EQ(runner.restart(ms), ms);
        EXPECT_EQ(runner.nextEvent(), next) << ms;
    }
    EXPECT_EQ(runner.restart(-5), 0);
    log.clear();
    // The clock has not moved since begin: the run timer is set to read the restart time.
    EXPECT_EQ(runner.restart(4000), 4000);
    clock.advance(250000000);
    EXPECT_EQ(runner.playFrame().time, 4.25f);
    EXPECT_EQ(log, CallLog({"music at 705600", "rewind 0", "rewind 1", "draw 1 4.25", "present"}));

    EXPECT_EQ(runner.partCount(), 2);
    EXPECT_EQ(runner.partAt(2.5f), 0);
    EXPECT_EQ(runner.partAt(3.5f), 1);
    EXPECT_EQ(runner.window(1).start, 3.0f);
    EXPECT_EQ(runner.event(3).ms, 9000);
    std::string between;
    for (const EventInfo& event : runner.eventsBetween(1000, 2001)) between += event.name;
    EXPECT_EQ(between, "abc");
    EXPECT_TRUE(runner.eventsBetween(2001, 9000).empty());

    const int32_t firstDrawn = static_cast<RandomInitPart*>(parts[1].get())->drawn;
    const int32_t nextRandom = LibcRandom(demoRandom()).next();
    RandomInitPart fresh(&log, "new");
    log.clear();
    EXPECT_EQ(runner.replacePart(1, &fresh), parts[1].get());
    EXPECT_EQ(runner.replacePart(2, &fresh), nullptr);
    EXPECT_EQ(fresh.drawn, firstDrawn);
    EXPECT_EQ(demoRandom().next(), nextRandom);
    EXPECT_EQ(fresh.initFrame, display.frame());
    EXPECT_EQ(fresh.start, 3.0f);
    EXPECT_EQ(runner.partName(1), "(anonymous namespace)::RandomInitPart");
    runner.reinitPart(0);
    runner.playFrame();
    EXPECT_EQ(log, CallLog({"init new", "rewind 0", "rewind new", "init 0", "rewind 0", "rewind new",
                            "draw new 4.25", "present"}));
    runner.finish();
}

}  // namespace
