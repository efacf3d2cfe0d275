#include <gtest/gtest.h>

#include "RecordingToolkit.h"
#include "core/Bitmap.h"
#include "display/DisplayFailure.h"
#include "display/PtcDisplayDriver.h"

namespace {

using Log = std::vector<std::string>;

const std::string kOpenLine = "open PTC-driver 512x384 bits 32 masks 16711680,65280,255,0 pages 0";

Log openLog(bool windowed) {
    return {"console create",
            "option synchronized update",
            "option center nearest",
            "option synchronized update",
            "option center nearest",
            windowed ? "option windowed output" : "option fullscreen output",
            "surface create 512x384 bits 32",
            "lock",
            "unlock",
            kOpenLine};
}

TEST(PtcDisplayDriver, OpenCallsTheToolkitInOrderForFullScreenAndWindow) {
    for (bool windowed : {false, true}) {
        RecordingToolkit toolkit;
        PtcDisplayDriver driver(toolkit);
        driver.open(512, 384, windowed, 32);
        EXPECT_EQ(toolkit.log, openLog(windowed)) << "windowed " << windowed;
    }
}

TEST(PtcDisplayDriver, FrameIsAViewOfTheLockedSurfaceMemory) {
    RecordingToolkit toolkit;
    PtcDisplayDriver driver(toolkit);
    EXPECT_EQ(driver.frame(), nullptr);
    driver.open(512, 384, false, 32);
    Bitmap* frame = driver.frame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->pixels, toolkit.surfaceMemory);
    EXPECT_EQ(frame->width, 512);
    EXPECT_EQ(frame->height, 384);

    // Drawing into the frame is what the next present shows.
    frame->pixels[0] = 0x00123456;
    frame->pixels[512 * 384 - 1] = 0x00abcdef;
    toolkit.log.clear();
    driver.present();
    EXPECT_EQ(toolkit.log, (Log{"copy", "load pitch 2048", "update"}));
    ASSERT_EQ(toolkit.copied.size(), 512u * 384u);
    EXPECT_EQ(toolkit.copied.front(), 0x00123456u);
    EXPECT_EQ(toolkit.copied.back(), 0x00abcdefu);
}

TEST(PtcDisplayDriver, DestroyingTheDriverLeavesTheSurfaceMemoryToTheSurface) {
    RecordingToolkit toolkit;
    {
        PtcDisplayDriver driver(toolkit);
        driver.open(64, 32, true, 32);
        testing::internal::CaptureStdout();
    }
    // The frame view goes like any Bitmap; a double free would have aborted before this.
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "deallocated internal Bitmap buffer \n");
}

TEST(PtcDisplayDriver, PresentBitmapCopiesTheSourceIntoTheSurfaceFirst) {
    RecordingToolkit toolkit;
    PtcDisplayDriver driver(toolkit);
    driver.open(4, 2, true, 32);
    Bitmap source(4, 2);
    for (int i = 0; i < 8; i++) source.pixels[i] = 0x01010101u * i;
    toolkit.log.clear();
    driver.presentBitmap(&source);
    EXPECT_EQ(toolkit.log, (Log{"lock", "unlock", "copy", "load pitch 16", "update"}));
    EXPECT_EQ(toolkit.copied, std::vector<uint32_t>(source.pixels, source.pixels + 8));
    EXPECT_EQ(driver.frame()->pixels[7], 0x07070707u);

    // A bigger source would overrun the surface: refused, nothing presented.
    Bitmap tooBig(8, 8);
    toolkit.log.clear();
    driver.presentBitmap(&tooBig);
    EXPECT_TRUE(toolkit.log.empty());
}

TEST(PtcDisplayDriver, PresentBeforeOpenDoesNothing) {
    RecordingToolkit toolkit;
    PtcDisplayDriver driver(toolkit);
    toolkit.log.clear();
    driver.present();
    EXPECT_TRUE(toolkit.log.empty());
}

TEST(PtcDisplayDriver, ReadKeySetsTheCodeAndAtMostOneFlag) {
    RecordingToolkit toolkit;
    PtcDisplayDriver driver(toolkit);
    toolkit.keys = {0x26, 0x41, 0x28, 0x25, 0x27, 0x24, 0x23, 0x21, 0x22, 0x1B, 0x126};

    auto flags = [](const KeyState& k) {
        return std::vector<int>{k.down, k.up, k.left, k.right, k.home, k.end, k.pageUp, k.pageDown};
    };
    EXPECT_TRUE(driver.keyPressed());
    KeyState up = driver.readKey();
    EXPECT_EQ(up.code, 0x26);
    EXPECT_EQ(flags(up), (std::vector<int>{0, 1, 0, 0, 0, 0, 0, 0}));
    KeyState a = driver.readKey();
    EXPECT_EQ(a.code, 0x41);
    EXPECT_EQ(flags(a), std::vector<int>(8, 0));

    // down, left, right, home, end, page up, page down: each its own flag, in field order.
    const std::vector<int> flagIndex = {0, 2, 3, 4, 5, 6, 7};
    for (int index : flagIndex) {
        std::vector<int> expected(8, 0);
        expected[index] = 1;
        EXPECT_EQ(flags(driver.readKey()), expected) << "flag " << index;
    }
    KeyState escape = driver.readKey();
    EXPECT_EQ(escape.code, 0x1B);
    EXPECT_EQ(flags(escape), std::vector<int>(8, 0));
    // Only the low byte is kept, and a code that merely ends in 0x26 is not the up arrow.
    KeyState wide = driver.readKey();
    EXPECT_EQ(wide.code, 0x26);
    EXPECT_EQ(wide.up, 0);
    EXPECT_FALSE(driver.keyPressed());
}

TEST(PtcDisplayDriver, ReopenReportsTheToolkitErrorAndCarriesOn) {
    RecordingToolkit toolkit;
    PtcDisplayDriver driver(toolkit);
    driver.open(512, 384, false, 32);
    toolkit.failOpen = true;
    toolkit.log.clear();
    EXPECT_NO_THROW(driver.reopen());
    EXPECT_EQ(toolkit.log, (Log{kOpenLine}));
    EXPECT_EQ(toolkit.reported, (std::vector<std::string>{"no output"}));
}

TEST(PtcDisplayDriver, OpenLetsTheToolkitErrorThrough) {
    RecordingToolkit toolkit;
    toolkit.failOpen = true;
    PtcDisplayDriver driver(toolkit);
    EXPECT_THROW(driver.open(512, 384, false, 32), DynamicError);
    EXPECT_TRUE(toolkit.reported.empty());
}

TEST(PtcDisplayDriverDeathTest, DisplayErrorEndsTheProcessWithAMessageAndFailure) {
    EXPECT_EXIT(
        {
            RecordingToolkit toolkit;
            toolkit.failOpen = true;
            PtcDisplayDriver driver(toolkit);
            try {
                driver.open(512, 384, false, 32);
            } catch (const DynamicError& error) {
                exitOnDisplayError(error);
            }
        },
        testing::ExitedWithCode(1), "cannot open the display: no output");
}

}  // namespace
