#include <gtest/gtest.h>

#include "DemoFakes.h"
#include "core/Bitmap.h"
#include "demo/Transition.h"

namespace {

// A part that fills whatever it draws into with one colour.
std::unique_ptr<RecordingPart> solidPart(CallLog* log, const char* name, uint32_t colour) {
    auto part = std::make_unique<RecordingPart>(log, name);
    part->fillOnDraw = true;
    part->fill = colour;
    return part;
}

void expectEveryPixel(const Bitmap& bitmap, uint32_t value) {
    for (int32_t i = 0; i < bitmap.width * bitmap.height; i++)
        ASSERT_EQ(bitmap.pixels[i], value) << "pixel " << i;
}

TEST(CrossfadeTransition, AlphaRisesOverTheSecondBeforeTheIncomingStart) {
    CrossfadeTransition crossfade;
    EXPECT_EQ(crossfade.duration, 1.0f);
    CallLog log;
    RecordingPart incoming(&log, "in");
    incoming.start = 20.0f;
    EXPECT_EQ(crossfade.alphaAt(18.0f, &incoming), -254);
    EXPECT_EQ(crossfade.alphaAt(19.0f, &incoming), 0);
    EXPECT_EQ(crossfade.alphaAt(19.5f, &incoming), 127);
    EXPECT_EQ(crossfade.alphaAt(20.0f, &incoming), 254);
    crossfade.duration = 2.0f;
    EXPECT_EQ(crossfade.alphaAt(19.0f, &incoming), 127);
}

TEST(CrossfadeTransition, BlendsTheIncomingOverTheOutgoingPart) {
    CallLog log;
    auto outgoing = solidPart(&log, "out", 0x00FFFFFF);
    auto incoming = solidPart(&log, "in", 0x00000000);
    incoming->start = 20.0f;
    Bitmap size(3, 2);
    Bitmap target(3, 2);
    CrossfadeTransition crossfade;
    crossfade.init(18.0f, 20.0f, 0, incoming.get(), nullptr, &size);
    EXPECT_EQ(crossfade.start, 18.0f);
    EXPECT_EQ(crossfade.end, 20.0f);
    ASSERT_EQ(log, CallLog({"draw in 20"}));
    EXPECT_EQ(incoming->drawTarget, crossfade.secondBuffer);
    EXPECT_EQ(crossfade.firstBuffer->width, 3);
    EXPECT_EQ(crossfade.secondBuffer->height, 2);

    crossfade.draw(outgoing.get(), incoming.get(), 19.5f, nullptr, &target);
    EXPECT_EQ(log, CallLog({"draw in 20", "draw out 19.5", "draw in 19.5"}));
    expectEveryPixel(target, 0x007F7F7F);

    crossfade.draw(outgoing.get(), incoming.get(), 10.0f, nullptr, &target);
    expectEveryPixel(target, 0x00FEFEFE);  // alpha clamps to 0: (255 * 255) >> 8
}

TEST(FadeInTransition, AlphaRisesFromStartToEnd) {
    FadeInTransition fadeIn;
    Bitmap size(1, 1);
    fadeIn.init(10.0f, 12.0f, 0, nullptr, nullptr, &size);
    EXPECT_EQ(fadeIn.alphaAt(9.0f), -127);
    EXPECT_EQ(fadeIn.alphaAt(10.0f), 0);
    EXPECT_EQ(fadeIn.alphaAt(11.0f), 127);
    EXPECT_EQ(fadeIn.alphaAt(12.0f), 254);
}

TEST(FadeInTransition, ZeroLengthFadeStaysDefined) {
    FadeInTransition fadeIn;
    Bitmap size(1, 1);
    fadeIn.init(5.0f, 5.0f, 0, nullptr, nullptr, &size);
    EXPECT_EQ(fadeIn.alphaAt(5.0f), 0);
    EXPECT_GE(fadeIn.alphaAt(6.0f), 255);
    EXPECT_LE(fadeIn.alphaAt(4.0f), 0);
}

TEST(FadeInTransition, RisesFromBlack) {
    CallLog log;
    auto part = solidPart(&log, "p", 0x00FFFFFF);
    Bitmap size(2, 2);
    Bitmap target(2, 2);
    FadeInTransition fadeIn;
    fadeIn.init(10.0f, 12.0f, 0, nullptr, nullptr, &size);
    expectEveryPixel(*fadeIn.secondBuffer, 0);

    fadeIn.draw(part.get(), nullptr, 11.0f, nullptr, &target);
    EXPECT_EQ(part->drawTarget, fadeIn.firstBuffer);
    expectEveryPixel(target, 0x007E7E7E);  // (255 * 127) >> 8

    fadeIn.draw(part.get(), nullptr, 9.0f, nullptr, &target);
    expectEveryPixel(target, 0);
}

}  // namespace
