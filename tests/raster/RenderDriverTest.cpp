#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/Bitmap.h"
#include "raster/RenderDriver.h"
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
    using Operation = void (RenderDriver::*)(RenderPolygon*, Bitmap*, int32_t);
    const Operation operations[] = {
        &RenderDriver::unused0, &RenderDriver::drawFlat, &RenderDriver::drawTextured,
        &RenderDriver::unused3, &RenderDriver::drawImageEnv, &RenderDriver::drawTranspMapped,
        &RenderDriver::drawBumpEnv, &RenderDriver::drawImageBumpEnv, &RenderDriver::unused8,
        &RenderDriver::unused9, &RenderDriver::unused10, &RenderDriver::drawPerspective,
        &RenderDriver::drawPerspectiveKeyed, &RenderDriver::drawPerspectiveNoDepth, &RenderDriver::drawPerspectiveFogNoDepth,
        &RenderDriver::drawPerspectiveFog, &RenderDriver::drawTexturedShaded, &RenderDriver::drawShaded};
    GuardedFrame frame;
    frame.memory.fill(0x01020304u);
    TestPolygon p;
    p.screenVertex(0, 0, 0, 2);
    p.screenVertex(1, 500, 0, 2);
    p.screenVertex(2, 0, 300, 2);
    const float camera[9] = {p.points[0], p.points[1], p.points[2], p.points[3], p.points[4],
                             p.points[5], p.points[6], p.points[7], p.points[8]};
    RenderDriver base;
    for (Operation operation : operations) (base.*operation)(p.get(), &frame.bitmap, 1);
    base.drawSprite(nullptr, &frame.bitmap, 1);
    base.setFlag(1);
    base.clearDepth();
    for (size_t i = 0; i < frame.memory.size(); ++i) ASSERT_EQ(frame.memory[i], 0x01020304u);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(p.points[i], camera[i]);  // not even projected
}

}  // namespace
