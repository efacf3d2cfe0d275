#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "TestBitmaps.h"
#include "demo/SyncEvent.h"
#include "parts/GreetsPart.h"
#include "parts/GrymtPart.h"
#include "parts/HusetPart.h"

namespace {

SyncEvent eventNamed(const char* name) {
    SyncEvent event{};
    std::strncpy(event.name, name, sizeof(event.name) - 1);
    return event;
}

constexpr uint32_t kFlashColour = 0x000000FF;

struct GrymtPictures {
    std::unique_ptr<Bitmap> upper = solidBitmap(512, 100, 0x00FF0000);
    std::unique_ptr<Bitmap> lower = solidBitmap(512, 100, 0x0000FF00);
    std::unique_ptr<Bitmap> pow = solidBitmap(512, 384, kFlashColour);

    void handTo(GrymtPart& part, float start) {
        part.upperStrip = upper.get();
        part.lowerStrip = lower.get();
        part.powPicture = pow.get();
        part.start = start;
    }
};

}  // namespace

// The three strip parts share one flash: an event received by one shows in the others
// while their own local time is within a second of the local time it arrived at.
TEST(GrymtPartFlash, SharedByAllObjectsForOneSecond) {
    GrymtPictures pictures;
    GrymtPart first, second, third;
    pictures.handTo(first, 20.0f);
    pictures.handTo(second, 62.0f);
    pictures.handTo(third, 100.0f);
    GrymtPart::flash.reset();
    HusetPart::flash.reset();
    GreetsPart::flash.reset();
    auto frame = solidBitmap(512, 384, 0);
    SyncEvent pow = eventNamed("POWPOW");

    first.draw(frame.get(), nullptr, 21.0f);
    EXPECT_EQ(pixelAt(*frame, 0, 150), 0u);
    EXPECT_EQ(first.onEvent(&pow), 0);

    second.draw(frame.get(), nullptr, 63.5f);
    EXPECT_EQ(pixelAt(*frame, 0, 150), kFlashColour);
    third.draw(frame.get(), nullptr, 101.99f);
    EXPECT_EQ(pixelAt(*frame, 0, 150), kFlashColour);
    third.draw(frame.get(), nullptr, 102.0f);
    EXPECT_EQ(pixelAt(*frame, 0, 150), 0u);

    // Another class keeps its own flash.
    EXPECT_FALSE(HusetPart::flash.showing());
    EXPECT_FALSE(GreetsPart::flash.showing());

    // A new event restarts the second, in any letter case.
    SyncEvent lower = eventNamed("powPow");
    EXPECT_EQ(third.onEvent(&lower), 0);
    first.draw(frame.get(), nullptr, 22.9f);
    EXPECT_EQ(pixelAt(*frame, 0, 150), kFlashColour);

    // A flash stamped later than the next object's local time was left by another object:
    // the next one opens without it, and does not pick it up once its time passes the stamp.
    first.draw(frame.get(), nullptr, 23.466f);
    EXPECT_EQ(first.onEvent(&pow), 0);
    second.draw(frame.get(), nullptr, 62.033f);
    EXPECT_EQ(pixelAt(*frame, 0, 150), 0u);
    second.draw(frame.get(), nullptr, 63.6f);
    EXPECT_EQ(pixelAt(*frame, 0, 150), 0u);
    EXPECT_EQ(second.onEvent(&pow), 0);
    second.draw(frame.get(), nullptr, 63.7f);
    EXPECT_EQ(pixelAt(*frame, 0, 150), kFlashColour);

    // A restart ends the flash: the part's rewind resets its class's.
    EXPECT_TRUE(GrymtPart::flash.showing());
    first.rewind();
    EXPECT_FALSE(GrymtPart::flash.showing());
    second.draw(frame.get(), nullptr, 63.75f);
    EXPECT_EQ(pixelAt(*frame, 0, 150), 0u);
}

TEST(GrymtPartFlash, OtherEventsAreIgnored) {
    GrymtPictures pictures;
    GrymtPart part;
    pictures.handTo(part, 0.0f);
    GrymtPart::flash.reset();
    SyncEvent other = eventNamed("POWPOWX");
    EXPECT_NE(part.onEvent(&other), 0);
    auto frame = solidBitmap(512, 384, 0);
    part.draw(frame.get(), nullptr, 0.5f);
    EXPECT_EQ(pixelAt(*frame, 0, 150), 0u);
}

TEST(GreetsPartDraw, BlurredPlatesNewStrengthNextFrameAndFlash) {
    auto background = solidBitmap(512, 384, 0);
    auto pow = solidBitmap(512, 384, kFlashColour);
    auto scratch = solidBitmap(100, 30, 0);
    std::unique_ptr<Bitmap> plates[5];
    std::unique_ptr<RowBlurFilter> filters[5];
    GreetsPart part;
    part.background = background.get();
    part.powPicture = pow.get();
    part.scratch = scratch.get();
    for (int i = 0; i < 5; ++i) {
        plates[i] = solidBitmap(100, 30, 0x00FFFFFF);
        filters[i] = std::make_unique<RowBlurFilter>(plates[i].get(), 20);
        part.plates[i] = plates[i].get();
        part.filters[i] = filters[i].get();
    }
    GreetsPart::flash.reset();
    part.start = 126.0f;
    auto frame = solidBitmap(512, 384, 0x00123456);

    part.draw(frame.get(), nullptr, 127.0f);  // first frame: strength 20
    EXPECT_EQ(pixelAt(*frame, 400, 300), 0x000C0C0Cu);
    EXPECT_EQ(pixelAt(*frame, 418, 300), 0x00F2F2F2u);
    EXPECT_EQ(pixelAt(*frame, 419, 300), 0x00FFFFFFu);
    EXPECT_EQ(pixelAt(*frame, 70, 150), 0x000C0C0Cu);
    EXPECT_EQ(pixelAt(*frame, 250, 180), 0x000C0C0Cu);
    EXPECT_EQ(pixelAt(*frame, 400, 200), 0x000C0C0Cu);
    EXPECT_EQ(pixelAt(*frame, 60, 300), 0x000C0C0Cu);
    EXPECT_EQ(pixelAt(*frame, 59, 300), 0u);
    EXPECT_EQ(pixelAt(*frame, 159, 329), 0x00FFFFFFu);
    EXPECT_EQ(pixelAt(*frame, 160, 329), 0u);
    EXPECT_EQ(pixelAt(*frame, 0, 0), 0u);
    for (RowBlurFilter* filter : part.filters) EXPECT_EQ(filter->strength, 5);

    part.draw(frame.get(), nullptr, 127.0f);  // strength 5 from the previous frame
    EXPECT_EQ(pixelAt(*frame, 400, 300), 0x00333333u);

    SyncEvent event = eventNamed("POWPOW");
    EXPECT_EQ(part.onEvent(&event), 0);
    part.draw(frame.get(), nullptr, 127.5f);
    EXPECT_EQ(pixelAt(*frame, 400, 300), kFlashColour);
    part.draw(frame.get(), nullptr, 128.0f);  // flash over; strength 7 from sin(0.9)
    EXPECT_EQ(pixelAt(*frame, 400, 300), 0x00242424u);
}
