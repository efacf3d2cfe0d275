#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "demo/DemoFakes.h"
#include "program/DemoProgram.h"
#include "parts/Show.h"
#include "support/ShowTimingFile.h"

namespace {

// The whole program on a scripted platform, in the generated stage folder: the graph is
// built in order, every part loads, the run reaches the loop, and the descriptor's
// message is the last line.
TEST(DemoProgram, RunsTheTimelineAndEndsWithTheDescriptorMessage) {
    char* cwd = ::getcwd(nullptr, 0);
    std::string previous = cwd;
    std::free(cwd);
    ASSERT_EQ(::chdir(TEST_STAGE_DIR), 0);

    CallLog log;
    VirtualClock clock;
    ScriptedDisplay display(&log, &clock, 0, {});
    ScriptedMusic music(&log, {});
    testing::internal::CaptureStdout();
    runDemoProgram(&display, &music, clock);
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(::chdir(previous.c_str()), 0);

    ASSERT_GE(log.size(), 5u);
    EXPECT_EQ(log[0], "music load data/musik.mp3");
    EXPECT_EQ(log[1], "open 512x384 fullscreen 32");
    EXPECT_EQ(log[log.size() - 3], "music play");
    EXPECT_EQ(log[log.size() - 1], "music free");
    EXPECT_NE(printed.find("inited all parts \ninited all \n"), std::string::npos);
    // The script's last change is the start of the show's last part.
    char lastChange[64];
    std::snprintf(lastChange, sizeof lastChange, "change %d: %f\nloaded actions \n", show::kPartCount - 2,
                  sourceTiming().partStart(show::kPartCount - 1));
    EXPECT_NE(printed.find(lastChange), std::string::npos);
    const std::string last = "deallocated internal Bitmap buffer \n";
    ASSERT_GE(printed.size(), last.size());
    EXPECT_EQ(printed.substr(printed.size() - last.size()), last);
}

}  // namespace
