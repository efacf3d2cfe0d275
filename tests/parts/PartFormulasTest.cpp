#include <gtest/gtest.h>

#include "parts/FetdelPart.h"
#include "parts/ForortPart.h"
#include "parts/ForstaPart.h"
#include "parts/GreetsPart.h"
#include "parts/GrymtPart.h"
#include "parts/HusetPart.h"

using Fade = ForstaPart::Fade;

TEST(ForstaPart, FadesInHoldsAndFadesOut) {
    EXPECT_EQ(ForstaPart::fadeAt(0.0f).alpha, 0);
    EXPECT_EQ(ForstaPart::fadeAt(2.5f).fade, Fade::In);
    EXPECT_EQ(ForstaPart::fadeAt(2.5f).alpha, 127);
    EXPECT_EQ(ForstaPart::fadeAt(4.99f).alpha, 254);
    EXPECT_EQ(ForstaPart::fadeAt(5.0f).fade, Fade::None);
    EXPECT_EQ(ForstaPart::fadeAt(10.0f).fade, Fade::None);
    EXPECT_EQ(ForstaPart::fadeAt(15.0f).fade, Fade::None);
    EXPECT_EQ(ForstaPart::fadeAt(17.5f).fade, Fade::Out);
    EXPECT_EQ(ForstaPart::fadeAt(17.5f).alpha, 127);
    EXPECT_EQ(ForstaPart::fadeAt(20.0f).fade, Fade::None);
}

TEST(ForortPart, DropsInHoldsAndSlidesOut) {
    auto at = ForortPart::placementAt;
    EXPECT_EQ(at(0.0f).y, -512);
    EXPECT_EQ(at(7.5f).y, -32);
    EXPECT_EQ(at(7.5f).x, 0);
    for (float t : {8.0f, 9.0f, 10.0f}) {
        EXPECT_TRUE(at(t).visible);
        EXPECT_EQ(at(t).x, 0);
        EXPECT_EQ(at(t).y, 0);
    }
    EXPECT_EQ(at(10.01f).x, -95);
    EXPECT_EQ(at(12.0f).x, 0);
    EXPECT_EQ(at(17.99f).x, 287);
    EXPECT_EQ(at(17.99f).y, 0);
    EXPECT_TRUE(at(17.99f).visible);
    EXPECT_FALSE(at(18.0f).visible);
}

TEST(GrymtPart, StripsSlideAt300PixelsASecond) {
    EXPECT_EQ(GrymtPart::upperStripX(0.0f), 512);
    EXPECT_EQ(GrymtPart::lowerStripX(0.0f), -100);
    EXPECT_EQ(GrymtPart::upperStripX(1.0f), 212);
    EXPECT_EQ(GrymtPart::lowerStripX(1.0f), 200);
}

TEST(HusetPart, LabelTremblesUpToThreePixels) {
    EXPECT_EQ(HusetPart::labelPosition(0, 0, 0, 0).x, 100);
    EXPECT_EQ(HusetPart::labelPosition(0, 0, 0, 0).y, 210);
    EXPECT_EQ(HusetPart::labelPosition(32767, 0, 0, 32767).x, 97);
    EXPECT_EQ(HusetPart::labelPosition(32767, 0, 0, 32767).y, 213);
    EXPECT_EQ(HusetPart::labelPosition(0, 32767, 32767, 0).x, 103);
    EXPECT_EQ(HusetPart::labelPosition(0, 32767, 32767, 0).y, 207);
    // Integer division truncates toward zero on both sides.
    EXPECT_EQ(HusetPart::labelPosition(0, 9999, 19999, 0).x, 101);
    EXPECT_EQ(HusetPart::labelPosition(0, 9999, 19999, 0).y, 210);
}

TEST(FetdelPart, MotionFiveSecondsIn) {
    auto m = FetdelPart::motionAt(5.0f);
    EXPECT_EQ(m.radius, 228.0f);
    EXPECT_EQ(m.angle, 1.570795f);
    EXPECT_EQ(m.x, 3000);
    EXPECT_EQ(m.y, 0);
    auto first = FetdelPart::motionAt(0.0f);
    EXPECT_FLOAT_EQ(first.radius, 336.804222f);
    EXPECT_FLOAT_EQ(first.angle, -8.429205f);
    EXPECT_EQ(first.x, 1864);
    EXPECT_EQ(first.y, -2890);
}

TEST(GreetsPart, BlurStrengthSwingsBetweenDirections) {
    EXPECT_EQ(GreetsPart::blurStrength(0.0f), 0);
    EXPECT_EQ(GreetsPart::blurStrength(1.0f), 5);
    EXPECT_EQ(GreetsPart::blurStrength(7.0f), -8);
}
