#include <gtest/gtest.h>

#include "core/Bitmap.h"
#include "display/MemoryToolkit.h"
#include "display/PtcDisplayDriver.h"

namespace {

TEST(MemoryToolkit, KeepsEachPresentedFrameAndHandsItToTheCallback) {
    MemoryToolkit toolkit;
    PtcDisplayDriver driver(toolkit);
    std::vector<uint32_t> corners;
    toolkit.setPresentCallback([&](const uint32_t* pixels, int32_t width, int32_t height) {
        EXPECT_EQ(pixels, toolkit.lastFrame().data());   // handed over, not copied again
        corners.push_back(pixels[0]);
        corners.push_back(pixels[width * height - 1]);
    });
    EXPECT_TRUE(toolkit.lastFrame().empty());
    driver.open(16, 8, false, 32);
    EXPECT_TRUE(toolkit.isOpen());
    EXPECT_EQ(toolkit.title(), "PTC-driver");

    Bitmap* frame = driver.frame();
    frame->pixels[0] = 0xff112233;
    frame->pixels[16 * 8 - 1] = 0x00445566;
    driver.present();
    frame->pixels[0] = 0x00778899;
    // Drawing after a present does not change the frame that was shown.
    EXPECT_EQ(toolkit.lastFrame()[0], 0xff112233u);
    driver.present();

    EXPECT_EQ(toolkit.presentCount(), 2);
    EXPECT_EQ(toolkit.frameWidth(), 16);
    EXPECT_EQ(toolkit.frameHeight(), 8);
    EXPECT_EQ(toolkit.lastFrame()[0], 0x00778899u);
    EXPECT_EQ(corners, (std::vector<uint32_t>{0xff112233, 0x00445566, 0x00778899, 0x00445566}));
    driver.close();
    EXPECT_FALSE(toolkit.isOpen());
}

TEST(MemoryToolkit, AnUpdateWithoutANewLoadShowsTheSameFrameAgain) {
    MemoryToolkit toolkit;
    auto console = toolkit.createConsole();
    console->open("t", 2, 1, kFramePixelFormat, 0);
    const uint32_t first[2] = {1, 2}, second[2] = {3, 4};
    console->load(first, 2, 1, 8);
    console->update();
    console->load(second, 2, 1, 8);
    console->update();
    console->update();
    EXPECT_EQ(toolkit.presentCount(), 3);
    EXPECT_EQ(toolkit.lastFrame(), (std::vector<uint32_t>{3, 4}));
}

TEST(MemoryToolkit, InjectedKeysAreReadInOrder) {
    MemoryToolkit toolkit;
    PtcDisplayDriver driver(toolkit);
    driver.open(16, 8, true, 32);
    EXPECT_FALSE(driver.keyPressed());
    toolkit.pushKey(0x28);
    toolkit.pushKey(0x20);
    EXPECT_TRUE(driver.keyPressed());
    KeyState down = driver.readKey();
    EXPECT_EQ(down.code, 0x28);
    EXPECT_EQ(down.down, 1);
    EXPECT_EQ(driver.readKey().code, 0x20);
    EXPECT_FALSE(driver.keyPressed());
}

TEST(MemoryToolkit, RefusesAConsoleItCannotShow) {
    MemoryToolkit toolkit;
    PtcDisplayDriver driver(toolkit);
    EXPECT_THROW(driver.open(0, 384, false, 32), DynamicError);
}

}  // namespace
