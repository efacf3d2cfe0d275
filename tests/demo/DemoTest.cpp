#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "DemoFakes.h"
#include "core/Bitmap.h"
#include "demo/Demo.h"
#include "demo/PerfTimer.h"
#include "demo/Transition.h"
#include "raster/RenderDriver.h"

namespace {

std::vector<std::unique_ptr<RecordingPart>> makeParts(CallLog* log, int count) {
    std::vector<std::unique_ptr<RecordingPart>> parts;
    for (int i = 0; i < count; i++) parts.push_back(std::make_unique<RecordingPart>(log, std::to_string(i)));
    return parts;
}

TEST(Demo, ConstructorStoresWindowedBeforeBitsPerPixel) {
    Bitmap size;
    size.width = 8;
    size.height = 4;
    NewRenderDriver driver(&size);
    Demo demo(640, 480, 16, 1, &driver);
    EXPECT_EQ(demo.width, 640);
    EXPECT_EQ(demo.height, 480);
    EXPECT_EQ(demo.bitsPerPixel, 16);
    EXPECT_EQ(demo.windowed, 1);
    EXPECT_EQ(demo.renderDriver, &driver);
    EXPECT_EQ(demo.partCount, 0);
    EXPECT_EQ(demo.transitionCount, 0);
    EXPECT_EQ(demo.timer, nullptr);
    auto* fadeIn = dynamic_cast<FadeInTransition*>(demo.defaultTransition);
    ASSERT_NE(fadeIn, nullptr);
    EXPECT_EQ(fadeIn->duration, 1.0f);
    EXPECT_EQ(fadeIn->firstBuffer, nullptr);  // never initialised
}

TEST(Demo, KeepsTheFirstSixteenParts) {
    CallLog log;
    auto parts = makeParts(&log, 17);
    Demo demo(512, 384, 32, 0, nullptr);
    for (auto& part : parts) demo.addPart(part.get());
    ASSERT_EQ(demo.partCount, 16);
    for (int i = 0; i < 16; i++) {
        EXPECT_EQ(demo.parts[i], parts[i].get());
        EXPECT_EQ(parts[i]->owner, &demo);
    }
    EXPECT_EQ(parts[16]->owner, nullptr);

    Bitmap frame(2, 2);
    testing::internal::CaptureStdout();
    demo.initParts(&frame);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(log.size(), 16u);
    EXPECT_EQ(log.back(), "init 15");
}

TEST(Demo, KeepsTheFirstFifteenTransitions) {
    Demo demo(512, 384, 32, 0, nullptr);
    std::vector<std::unique_ptr<CrossfadeTransition>> transitions(16);
    for (auto& transition : transitions) {
        transition = std::make_unique<CrossfadeTransition>();
        demo.addTransition(transition.get());
    }
    ASSERT_EQ(demo.transitionCount, 15);
    EXPECT_EQ(demo.transitions[14], transitions[14].get());
    EXPECT_EQ(transitions[14]->owner, &demo);
    EXPECT_EQ(transitions[15]->owner, nullptr);
}

TEST(Demo, InitPartsPrintsAroundEachPartInOrder) {
    CallLog log;
    auto parts = makeParts(&log, 11);
    Bitmap size;
    size.width = 4;
    size.height = 4;
    NewRenderDriver driver(&size);
    Demo demo(512, 384, 32, 0, &driver);
    for (auto& part : parts) demo.addPart(part.get());
    Bitmap frame(4, 4);

    testing::internal::CaptureStdout();
    demo.initParts(&frame);
    std::string printed = testing::internal::GetCapturedStdout();

    std::string expected = "nu e jag h\xE4r 1 \n";
    for (int i = 0; i < 12; i++) expected += "jag e h\xE4r for fuckes sake \n";
    expected += "inited all parts \ninited all \n";
    EXPECT_EQ(printed, expected);
    for (int i = 0; i < 11; i++) {
        EXPECT_EQ(log[i], "init " + std::to_string(i));
        EXPECT_EQ(parts[i]->initFrame, &frame);
        EXPECT_EQ(parts[i]->initDriver, &driver);
    }
}

TEST(Demo, CreateTimerStartsTheRunTimerNow) {
    VirtualClock clock;
    clock.set(7000000000);
    Demo demo(512, 384, 32, 0, nullptr);
    demo.createTimer(clock);
    ASSERT_NE(demo.timer, nullptr);
    clock.advance(250000000);
    EXPECT_FLOAT_EQ(demo.timer->elapsed(), 0.25f);
}

TEST(PowPow, ComparesTheEventNameIgnoringCase) {
    SyncEvent event{};
    std::snprintf(event.name, sizeof event.name, "powPOW");
    EXPECT_EQ(comparePowPow(&event), 0);
    std::snprintf(event.name, sizeof event.name, "POWPOW ");
    EXPECT_NE(comparePowPow(&event), 0);
    std::snprintf(event.name, sizeof event.name, "%s", "");
    EXPECT_NE(comparePowPow(&event), 0);
}

}  // namespace
