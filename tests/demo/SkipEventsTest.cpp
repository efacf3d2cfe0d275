#include <gtest/gtest.h>

#include "DemoFakes.h"
#include "support/TempDir.h"
#include "demo/Demo.h"
#include "demo/DemoRunner.h"

namespace {

// The script's events sorted: 100 (a), 200 (b), 200 (c), 900 (d).
class SkipEventsTest : public ::testing::Test {
protected:
    SkipEventsTest() : demo(4, 3, 32, 0, nullptr), runner(nullptr, nullptr, clock) {
        runner.syncScript.setDemo(&demo);
        std::string file = dir.write("s.snc", "QRM SYNCSCRIPT\n4\nd\n900\n\nb\n200\n\na\n100\n\nc\n200\n\n0\n");
        testing::internal::CaptureStdout();
        runner.syncScript.load(file.c_str());
        testing::internal::GetCapturedStdout();
    }

    TempDir dir;
    Demo demo;
    VirtualClock clock;
    DemoRunner runner;
};

TEST_F(SkipEventsTest, EventsBeforeThePositionAreConsumed) {
    runner.skipEventsBefore(201);
    EXPECT_EQ(runner.nextEvent, 3);
}

TEST_F(SkipEventsTest, AnEventAtThePositionIsStillDue) {
    runner.skipEventsBefore(200);
    EXPECT_EQ(runner.nextEvent, 1);
    runner.skipEventsBefore(100);
    EXPECT_EQ(runner.nextEvent, 1);
}

TEST_F(SkipEventsTest, PositionZeroSkipsNothingAndThePastEndSkipsAll) {
    runner.skipEventsBefore(0);
    EXPECT_EQ(runner.nextEvent, 0);
    runner.skipEventsBefore(100000);
    EXPECT_EQ(runner.nextEvent, 4);
}

// A seek goes either way: back, the events from there on are due again.
TEST_F(SkipEventsTest, SeekingPutsTheNextEventAtThePositionInEitherDirection) {
    runner.seekEvents(900);
    EXPECT_EQ(runner.nextEvent, 3);
    runner.seekEvents(150);
    EXPECT_EQ(runner.nextEvent, 1);
    runner.seekEvents(0);
    EXPECT_EQ(runner.nextEvent, 0);
}

}  // namespace
