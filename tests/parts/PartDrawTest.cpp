#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "TestBitmaps.h"
#include "core/LibcRandom.h"
#include "demo/SyncEvent.h"
#include "parts/CredsPart.h"
#include "parts/FetdelPart.h"
#include "parts/ForortPart.h"
#include "parts/ForstaPart.h"
#include "parts/GrymtPart.h"
#include "parts/HusetPart.h"
#include "parts/SlutPart.h"

// Parts are handed solid test pictures in place of their data files; each picture's
// colour shows where it landed in the frame.

TEST(ForstaPartDraw, BlendsTitleAndBlackOnLocalTime) {
    auto title = solidBitmap(512, 384, 0x00FFFFFF);
    auto black = solidBitmap(512, 384, 0);
    auto frame = solidBitmap(512, 384, 0x00123456);
    ForstaPart part;
    part.title = title.get();
    part.black = black.get();
    part.start = 30.0f;
    part.draw(frame.get(), nullptr, 40.0f);
    EXPECT_EQ(pixelAt(*frame, 0, 0), 0x00123456u);  // between the fades nothing is drawn
    part.draw(frame.get(), nullptr, 32.5f);
    EXPECT_EQ(pixelAt(*frame, 0, 0), 0x007E7E7Eu);  // (255 * 127) >> 8
    EXPECT_EQ(pixelAt(*frame, 511, 383), 0x007E7E7Eu);
    part.draw(frame.get(), nullptr, 47.5f);
    EXPECT_EQ(pixelAt(*frame, 100, 100), 0x007F7F7Fu);  // (255 * 128) >> 8: black weighs 127
}

// A Huset part over solid pictures, the shared flash cleared.
struct HusetWithPictures {
    HusetWithPictures(uint32_t backgroundColour, uint32_t labelColour, uint32_t arrowColour)
        : background(solidBitmap(512, 384, backgroundColour)),
          label(solidBitmap(100, 30, labelColour)),
          arrow(solidBitmap(40, 40, arrowColour)),
          pow(solidBitmap(512, 384, 0x000000FF)),
          frame(solidBitmap(512, 384, 0)) {
        part.background = background.get();
        part.label = label.get();
        part.arrow = arrow.get();
        part.powPicture = pow.get();
        HusetPart::flash.reset();
    }
    std::unique_ptr<Bitmap> background, label, arrow, pow, frame;
    HusetPart part;
};

TEST(HusetPartDraw, ArrowAndLabelFromFourRandomNumbers) {
    HusetWithPictures huset(0, 0x00000001, 0x00000100);
    HusetPart& part = huset.part;
    auto& frame = huset.frame;
    for (unsigned seed : {1u, 77u, 2024u}) {
        demoRandom().reseed(seed);
        int32_t r[4];
        for (int32_t& value : r) {
            value = HusetPart::nextRandom();
            ASSERT_GE(value, 0);
            ASSERT_LE(value, 32767);
        }
        auto at = HusetPart::labelPosition(r[0], r[1], r[2], r[3]);
        demoRandom().reseed(seed);
        part.draw(frame.get(), nullptr, 1.0f);
        EXPECT_EQ(pixelAt(*frame, at.x, at.y) & 0xFF, 1u) << seed;
        EXPECT_EQ(pixelAt(*frame, at.x - 1, at.y) & 0xFF, 0u) << seed;
        EXPECT_EQ(pixelAt(*frame, at.x, at.y - 1) & 0xFF, 0u) << seed;
        EXPECT_EQ(pixelAt(*frame, at.x + 99, at.y + 29) & 0xFF, 1u) << seed;
    }
    EXPECT_EQ(pixelAt(*frame, 239, 239) & 0xFF00, 0x100u);
    EXPECT_EQ(pixelAt(*frame, 240, 240), 0u);
}

TEST(SlutPartDraw, ScrollerOverGreyBlue) {
    Bitmap scroller(512, 1536);
    for (int32_t row = 0; row < 1536; ++row) std::fill_n(scroller.pixels + row * 512, 512, static_cast<uint32_t>(row));
    auto frame = solidBitmap(512, 384, 0);
    SlutPart part;
    part.scroller = &scroller;
    part.start = 142.0f;
    part.draw(frame.get(), nullptr, 142.0f);
    for (int32_t y : {0, 200, 383}) EXPECT_EQ(pixelAt(*frame, 10, y), 0x004A525Au);
    part.draw(frame.get(), nullptr, 152.0f);
    EXPECT_EQ(pixelAt(*frame, 0, 0), 116u);
    EXPECT_EQ(pixelAt(*frame, 511, 383), 499u);
    part.draw(frame.get(), nullptr, 142.0f + 38.5f);  // the last row has left the top
    EXPECT_EQ(pixelAt(*frame, 0, 0), 0x004A525Au);
}

// A Creds part over solid plates and a tunnel whose texture is black.
struct CredsWithPictures {
    CredsWithPictures(uint32_t codeColour, uint32_t graphicsColour, uint32_t musicColour, uint32_t emblemColour)
        : code(solidBitmap(512, 80, codeColour)),
          graphics(solidBitmap(512, 80, graphicsColour)),
          music(solidBitmap(512, 160, musicColour)),
          emblem(solidBitmap(256, 256, emblemColour)),
          tunnel(TunnelSetup{512, 384, "no picture", 0}) {
        part.codePlate = code.get();
        part.graphicsPlate = graphics.get();
        part.musicPlate = music.get();
        part.emblem = emblem.get();
        part.tunnel = &tunnel;
    }
    std::unique_ptr<Bitmap> code, graphics, music, emblem;
    TunnelEffect tunnel;
    CredsPart part;
};

TEST(CredsPartDraw, PlatesFullyInWhenTheSineIsOne) {
    CredsWithPictures creds(0x00000001, 0x00000100, 0x00000010, 0x00010000);
    CredsPart& part = creds.part;
    part.start = 50.0f;
    auto frame = solidBitmap(512, 384, 0x00FFFFFF);
    part.draw(frame.get(), nullptr, 50.0f + 2.6179938779914944f);
    EXPECT_EQ(pixelAt(*frame, 0, 0), 0u);
    EXPECT_EQ(pixelAt(*frame, 1, 0), 0x00000001u);
    EXPECT_EQ(pixelAt(*frame, 510, 90), 0x00000100u);
    EXPECT_EQ(pixelAt(*frame, 511, 90), 0u);
    EXPECT_EQ(pixelAt(*frame, 0, 199), 0u);
    EXPECT_EQ(pixelAt(*frame, 0, 200), 0x00000010u);
    EXPECT_EQ(pixelAt(*frame, 128, 64), 0x00010001u);  // emblem under the code plate
    EXPECT_EQ(pixelAt(*frame, 383, 319), 0x00010010u);  // emblem under the music plate
}

TEST(FetdelPartDraw, SetsBothEffectsAndKeepsTheSecondUnrotated) {
    RotozoomEffect first("no picture"), second("no picture");
    FetdelPart part;
    part.firstEffect = &first;
    part.secondEffect = &second;
    part.start = 24.0f;
    std::fill_n(first.texture->pixels, 65536, 0x00000040u);
    std::fill_n(second.texture->pixels, 65536, 0x00300000u);
    auto frame = solidBitmap(512, 384, 0x00FFFFFF);
    part.draw(frame.get(), nullptr, 29.0f);
    EXPECT_EQ(first.radius, 228.0f);
    EXPECT_EQ(first.angle, 1.570795f);
    EXPECT_EQ(first.x, 3000);
    EXPECT_EQ(first.y, 0);
    EXPECT_EQ(second.radius, 228.0f);
    EXPECT_EQ(second.angle, 0.0f);
    EXPECT_EQ(second.x, 3000);
    // The second picture replaces the frame, the first is added onto it.
    EXPECT_EQ(pixelAt(*frame, 300, 100), 0x00300040u);
}

TEST(GrymtPartDraw, StripsOnABlackFrame) {
    auto upper = solidBitmap(512, 100, 0x00FF0000);
    auto lower = solidBitmap(512, 100, 0x0000FF00);
    auto pow = solidBitmap(512, 384, 0x000000FF);
    auto frame = solidBitmap(512, 384, 0x00123456);
    GrymtPart part;
    part.upperStrip = upper.get();
    part.lowerStrip = lower.get();
    part.powPicture = pow.get();
    part.start = 62.0f;
    GrymtPart::flash.reset();
    part.draw(frame.get(), nullptr, 63.0f);  // upper strip at x = 212, lower at x = 200
    EXPECT_EQ(pixelAt(*frame, 211, 0), 0u);
    EXPECT_EQ(pixelAt(*frame, 212, 0), 0x00FF0000u);
    EXPECT_EQ(pixelAt(*frame, 511, 99), 0x00FF0000u);
    EXPECT_EQ(pixelAt(*frame, 300, 100), 0u);
    EXPECT_EQ(pixelAt(*frame, 199, 200), 0u);
    EXPECT_EQ(pixelAt(*frame, 200, 200), 0x0000FF00u);
    EXPECT_EQ(pixelAt(*frame, 511, 299), 0x0000FF00u);
    EXPECT_EQ(pixelAt(*frame, 300, 300), 0u);
    EXPECT_EQ(pixelAt(*frame, 0, 383), 0u);
}

TEST(ForortPartDraw, DropsInThenLeavesABlackFrame) {
    Bitmap picture(512, 384);
    for (int32_t row = 0; row < 384; ++row) std::fill_n(picture.pixels + row * 512, 512, static_cast<uint32_t>(row + 1));
    auto frame = solidBitmap(512, 384, 0x00FFFFFF);
    ForortPart part;
    part.picture = &picture;
    part.start = 44.0f;
    part.draw(frame.get(), nullptr, 51.5f);  // y = -32
    EXPECT_EQ(pixelAt(*frame, 0, 0), 33u);
    EXPECT_EQ(pixelAt(*frame, 511, 351), 384u);
    EXPECT_EQ(pixelAt(*frame, 0, 352), 0u);
    part.draw(frame.get(), nullptr, 44.0f + 17.99f);  // x = 287
    EXPECT_EQ(pixelAt(*frame, 286, 10), 0u);
    EXPECT_EQ(pixelAt(*frame, 287, 10), 11u);
    part.draw(frame.get(), nullptr, 62.0f);
    for (int32_t y : {0, 200, 383}) EXPECT_EQ(pixelAt(*frame, 300, y), 0u);
}

TEST(HusetPartDraw, FlashCoversTheFrameForOneSecond) {
    HusetWithPictures huset(0x00100000, 0, 0);
    HusetPart& part = huset.part;
    auto& frame = huset.frame;
    part.start = 90.0f;
    SyncEvent pow{};
    std::strcpy(pow.name, "PowPow");
    part.draw(frame.get(), nullptr, 92.0f);
    EXPECT_EQ(part.onEvent(&pow), 0);
    part.draw(frame.get(), nullptr, 92.99f);
    EXPECT_EQ(pixelAt(*frame, 0, 0), 0x000000FFu);
    EXPECT_EQ(pixelAt(*frame, 120, 220), 0x000000FFu);  // over the label too
    part.draw(frame.get(), nullptr, 93.0f);
    EXPECT_EQ(pixelAt(*frame, 0, 0), 0x00100000u);
}

// The tunnel scrolls with the demo's time, the plates swing with the part's own.
TEST(CredsPartDraw, TunnelFollowsTheAbsoluteTime) {
    CredsWithPictures creds(0, 0, 0, 0);
    TunnelEffect& tunnel = creds.tunnel;
    for (uint32_t i = 0; i < 65536; ++i) tunnel.texture->pixels[i] = i;
    CredsPart& part = creds.part;
    part.start = 104.0f;
    auto frame = solidBitmap(512, 384, 0);
    part.draw(frame.get(), nullptr, 110.0f);  // shift 3300, not the local 180
    for (int32_t i : {0, 1000, 512 * 192 + 300, 512 * 384 - 1})
        EXPECT_EQ(frame->pixels[i], static_cast<uint16_t>(tunnel.table[i] + 3300 * 257)) << "pixel " << i;
}
