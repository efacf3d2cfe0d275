// The CPU presentation path's parts: the letterbox fit, the nearest scaling, the refresh
// wait and the software-GL judgement.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "display/FramePacer.h"
#include "display/NearestScale.h"
#include "display/SoftwareGl.h"

namespace {

// Every output pixel shows the frame pixel under its centre, worked out in whole numbers:
// column floor((2i + 1) * frameWidth / (2 * fitWidth)); the bands are black, the top byte 0.
TEST(NearestScale, EachOutputPixelShowsTheFramePixelUnderItsCentre) {
    std::mt19937 random(3);
    std::vector<uint32_t> frame(512 * 384);
    for (uint32_t& pixel : frame) pixel = static_cast<uint32_t>(random());
    struct Case { int32_t width, height, fitX, fitY, fitWidth, fitHeight; };
    const Case cases[] = {{1280, 1024, 0, 32, 1280, 960}, {1366, 768, 171, 0, 1024, 768},
                          {1024, 768, 0, 0, 1024, 768},   {1600, 1200, 0, 0, 1600, 1200},
                          {1000, 1000, 0, 125, 1000, 750}, {512, 384, 0, 0, 512, 384}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        const NearestScaler scaler(512, 384, c.width, c.height);
        EXPECT_EQ(scaler.fit().x, c.fitX);
        EXPECT_EQ(scaler.fit().y, c.fitY);
        ASSERT_EQ(scaler.fit().width, c.fitWidth);
        ASSERT_EQ(scaler.fit().height, c.fitHeight);
        const int32_t pitch = c.width + 3;
        std::vector<uint32_t> output(static_cast<size_t>(pitch) * c.height, 0xdeadbeefu);
        scaler.scale(frame.data(), output.data(), pitch);
        size_t wrong = 0;
        for (int32_t y = 0; y < c.height; ++y) {
            for (int32_t x = 0; x < pitch; ++x) {
                const uint32_t got = output[static_cast<size_t>(y) * pitch + x];
                const int32_t fx = x - c.fitX, fy = y - c.fitY;
                uint32_t want = 0;
                if (x >= c.width) want = 0xdeadbeefu;  // past the output row: untouched
                else if (fx >= 0 && fx < c.fitWidth && fy >= 0 && fy < c.fitHeight)
                    want = frame[static_cast<size_t>((2 * fy + 1) * 384 / (2 * c.fitHeight)) * 512 +
                                 static_cast<size_t>((2 * fx + 1) * 512 / (2 * c.fitWidth))] & 0xffffffu;
                wrong += got != want;
            }
        }
        EXPECT_EQ(wrong, 0u);
    }
}

// Refreshes come a period apart; a late caller keeps the beat unless a whole period late.
TEST(FramePacer, SchedulesAPeriodAfterTheLastRefreshAndKeepsTheBeat) {
    FramePacer pacer(100);
    EXPECT_EQ(std::chrono::duration_cast<std::chrono::milliseconds>(pacer.period()).count(), 10);
    EXPECT_EQ(std::chrono::duration_cast<std::chrono::microseconds>(FramePacer(0).period()).count(), 16666);
    using std::chrono::milliseconds;
    const FramePacer::Clock::time_point t0 = FramePacer::Clock::now() + std::chrono::hours(1);
    pacer.schedule(t0 + milliseconds(20));                                   // far behind: beat from now
    EXPECT_EQ(pacer.schedule(t0 + milliseconds(22)), t0 + milliseconds(30));  // early: wait for it
    EXPECT_EQ(pacer.schedule(t0 + milliseconds(34)), t0 + milliseconds(40));
    EXPECT_EQ(pacer.schedule(t0 + milliseconds(57)), t0 + milliseconds(50));  // 7 ms late: the beat holds
    EXPECT_EQ(pacer.schedule(t0 + milliseconds(75)), t0 + milliseconds(75));  // 15 ms late: new beat
    EXPECT_EQ(pacer.schedule(t0 + milliseconds(75)), t0 + milliseconds(85));
    // The real wait sleeps to the scheduled time.
    pacer.refreshed();
    const auto start = FramePacer::Clock::now();
    for (int i = 0; i < 3; ++i) pacer.waitForRefresh();
    EXPECT_GE(FramePacer::Clock::now() - start, 3 * pacer.period() - milliseconds(1));
}

TEST(SoftwareGl, NamesAndTheForcedSetting) {
    EXPECT_TRUE(isSoftwareGlRenderer("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(isSoftwareGlRenderer("softpipe"));
    EXPECT_TRUE(isSoftwareGlRenderer("Mesa DRI swrast"));
    EXPECT_FALSE(isSoftwareGlRenderer("AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6, DRM 3.49)"));
    EXPECT_FALSE(isSoftwareGlRenderer(nullptr));
#if defined(__linux__)
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    EXPECT_TRUE(openGlIsSoftwareOnly());
    unsetenv("LIBGL_ALWAYS_SOFTWARE");
#endif
}

}  // namespace
