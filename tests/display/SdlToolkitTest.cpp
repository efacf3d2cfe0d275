#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "display/NearestScale.h"
#include "display/PtcDisplayDriver.h"
#include "display/SdlKeyMap.h"
#include "display/SdlToolkit.h"
#include "core/Bitmap.h"

namespace {

TEST(SdlKeyMap, FollowsTheVirtualKeyNumbering) {
    EXPECT_EQ(virtualKeyFromSdl(SDLK_LEFT), 0x25);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_PERIOD), 0xBE);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_COMMA), 0xBC);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_UP), 0x26);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_RIGHT), 0x27);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_DOWN), 0x28);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_HOME), 0x24);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_END), 0x23);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_PAGEUP), 0x21);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_PAGEDOWN), 0x22);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_a), 0x41);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_z), 0x5A);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_0), 0x30);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_9), 0x39);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_ESCAPE), 0x1B);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_SPACE), 0x20);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_RETURN), 0x0D);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_UNKNOWN), 0);
}

// SDL's dummy video driver opens a window without a display, so the whole path runs in CI.
class SdlToolkitOnDummyVideo : public testing::Test {
protected:
    void SetUp() override { setenv("SDL_VIDEODRIVER", "dummy", 1); }
};

TEST_F(SdlToolkitOnDummyVideo, OpensPresentsAndTurnsKeyEventsIntoKeys) {
    SdlToolkit toolkit;
    PtcDisplayDriver driver(toolkit);
    for (bool windowed : {true, false}) {
        ASSERT_NO_THROW(driver.open(512, 384, windowed, 32)) << SDL_GetError();
        Bitmap* frame = driver.frame();
        ASSERT_NE(frame, nullptr);
        uint32_t* const address = frame->pixels;
        for (int i = 0; i < 512 * 384; i++) frame->pixels[i] = 0xff000000u | static_cast<uint32_t>(i);
        driver.present();
        driver.present();
        EXPECT_FALSE(driver.keyPressed());
        EXPECT_EQ(frame->pixels, address);

        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.keysym.sym = SDLK_UP;
        ASSERT_EQ(SDL_PushEvent(&event), 1);
        EXPECT_TRUE(driver.keyPressed());
        KeyState key = driver.readKey();
        EXPECT_EQ(key.code, 0x26);
        EXPECT_EQ(key.up, 1);

        // Closing the window counts as a key press.
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        ASSERT_EQ(SDL_PushEvent(&quit), 1);
        EXPECT_TRUE(driver.keyPressed());
        EXPECT_EQ(driver.readKey().code, 0x1B);
        driver.close();
    }
}

// The newest window SDL knows.
SDL_Window* lastWindow() {
    SDL_Window* window = nullptr;
    for (Uint32 id = 1; id < 1000; ++id)
        if (SDL_Window* found = SDL_GetWindowFromID(id)) window = found;
    return window;
}

// With software OpenGL the frame is scaled on the CPU into the window's surface; a frame
// identical to the one shown is not put there again.
TEST_F(SdlToolkitOnDummyVideo, SoftwareGlShowsTheScaledFrameOnTheWindowSurfaceOnlyWhenItChanged) {
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    SdlToolkit toolkit;
    PtcDisplayDriver driver(toolkit);
    ASSERT_NO_THROW(driver.open(512, 384, false, 32)) << SDL_GetError();
    unsetenv("LIBGL_ALWAYS_SOFTWARE");
    Bitmap* frame = driver.frame();
    for (int i = 0; i < 512 * 384; i++) frame->pixels[i] = 0xff000000u | static_cast<uint32_t>(i * 2654435761u >> 8);
    driver.present();
    SDL_Surface* surface = SDL_GetWindowSurface(lastWindow());
    ASSERT_NE(surface, nullptr);
    const NearestScaler scaler(512, 384, surface->w, surface->h);
    std::vector<uint32_t> expected(static_cast<size_t>(surface->w) * surface->h);
    auto shows = [&](const char* when) {
        scaler.scale(frame->pixels, expected.data(), surface->w);
        for (int y = 0; y < surface->h; ++y)
            ASSERT_EQ(std::memcmp(static_cast<uint8_t*>(surface->pixels) + y * surface->pitch,
                                  expected.data() + static_cast<size_t>(y) * surface->w, 4u * surface->w), 0)
                << when << ", row " << y;
    };
    shows("first frame");
    // A mark on the surface survives an identical frame and goes with a changed one (once
    // the window's own events, which ask for the frame again, are through).
    EXPECT_FALSE(driver.keyPressed());
    driver.present();
    uint32_t* corner = static_cast<uint32_t*>(surface->pixels);
    corner[0] = 0x123456u;
    driver.present();
    EXPECT_EQ(corner[0], 0x123456u);
    // An uncovered window gets the same frame again.
    SDL_Event exposed{};
    exposed.type = SDL_WINDOWEVENT;
    exposed.window.event = SDL_WINDOWEVENT_EXPOSED;
    ASSERT_EQ(SDL_PushEvent(&exposed), 1);
    EXPECT_FALSE(driver.keyPressed());
    driver.present();
    shows("uncovered window");
    corner[0] = 0x123456u;
    frame->pixels[0] ^= 1;
    driver.present();
    shows("changed frame");
    driver.close();
}

}  // namespace

namespace {

TEST(SdlToolkitWithoutDisplay, OpenThrowsDynamicError) {
    setenv("SDL_VIDEODRIVER", "no-such-video-driver", 1);
    SdlToolkit toolkit;
    PtcDisplayDriver driver(toolkit);
    EXPECT_THROW(driver.open(512, 384, false, 32), DynamicError);
    // The driver stays usable: nothing is shown, and no key is reported.
    driver.present();
    EXPECT_FALSE(driver.keyPressed());
}

}  // namespace
