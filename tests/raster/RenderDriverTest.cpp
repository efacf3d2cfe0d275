#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/Bitmap.h"
#include "engine/RenderDriver.h"
#include "RasterTestSupport.h"

namespace {

size_t countNonZero(const float* values, size_t count) {
    size_t n = 0;
    for (size_t i = 0; i < count; ++i) n += values[i] != 0.0f ? 1 : 0;
    return n;
}

TEST(NewRenderDriver, ConstructionClearsDepthAndFlag) {
    Bitmap size;
    size.width = 512;
    size.height = 384;
    auto driver = std::make_unique<NewRenderDriver>(&size);
    EXPECT_EQ(driver->width, 512);
    EXPECT_EQ(driver->height, 384);
    EXPECT_EQ(driver->flag, 0);
    EXPECT_EQ(countNonZero(driver->depthBuffer, 512 * 384), 0u);
    driver->setFlag(3);
    EXPECT_EQ(driver->flag, 3);
    testing::internal::CaptureStdout();
    driver.reset();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "deleting a NewRenderDriver \n");
}

TEST(NewRenderDriver, ClearDepthSetsEveryEntryAndNoMore) {
    GuardedDriver driver;
    driver.depth.fill(7.5f);
    driver->clearDepth();
    EXPECT_EQ(countNonZero(driver.depth.data(), driver.depth.size()), 0u);
    EXPECT_EQ(driver.depth.size(), 196608u);
}

// The abstract driver accepts every call and draws nothing.
TEST(RenderDriver, BaseDrawsNothing) {
    GuardedFrame frame;
    frame.memory.fill(0x01020304u);
    TestPolygon p;
    p.screenVertex(0, 0, 0, 2);
    p.screenVertex(1, 500, 0, 2);
    p.screenVertex(2, 0, 300, 2);
    RenderDriver base;
    RenderDriver* driver = &base;
    driver->unused0(p.get(), &frame.bitmap, 1);
    driver->drawFlat(p.get(), &frame.bitmap, 1);
    driver->drawTextured(p.get(), &frame.bitmap, 1);
    driver->unused3(p.get(), &frame.bitmap, 1);
    driver->drawImageEnv(p.get(), &frame.bitmap, 1);
    driver->drawTranspMapped(p.get(), &frame.bitmap, 1);
    driver->drawBumpEnv(p.get(), &frame.bitmap, 1);
    driver->drawImageBumpEnv(p.get(), &frame.bitmap, 1);
    driver->unused8(p.get(), &frame.bitmap, 1);
    driver->unused9(p.get(), &frame.bitmap, 1);
    driver->unused10(p.get(), &frame.bitmap, 1);
    driver->drawPerspective(p.get(), &frame.bitmap, 1);
    driver->drawPerspectiveKeyed(p.get(), &frame.bitmap, 1);
    driver->drawPerspectiveNoDepth(p.get(), &frame.bitmap, 1);
    driver->drawPerspectiveFogNoDepth(p.get(), &frame.bitmap, 1);
    driver->drawPerspectiveFog(p.get(), &frame.bitmap, 1);
    driver->drawTexturedShaded(p.get(), &frame.bitmap, 1);
    driver->drawShaded(p.get(), &frame.bitmap, 1);
    driver->drawSprite(nullptr, &frame.bitmap, 1);
    driver->setFlag(1);
    driver->clearDepth();
    for (size_t i = 0; i < frame.memory.size(); ++i) ASSERT_EQ(frame.memory[i], 0x01020304u);
    EXPECT_EQ(p.points[0], (0.0f - 256) * 2 / 512);  // not even projected
}

}  // namespace
