#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstring>
#include <string>

#include "KebabTestFiles.h"
#include "core/Bitmap.h"
#include "demo/SyncEvent.h"
#include "engine/MeshSurfaceObject.h"
#include "engine/Scene.h"
#include "engine/Surface.h"
#include "engine/SurfacePolygon.h"
#include "parts/KebabObjectLoader.h"
#include "parts/KebabPart.h"
#include "raster/RenderDriver.h"

namespace {

constexpr uint32_t kBackground = 0x204060;
constexpr uint32_t kFlash = 0xE0C020;

SyncEvent event(const char* name) {
    SyncEvent e{};
    std::strncpy(e.name, name, sizeof e.name - 1);
    return e;
}

// The part's data written by the test into a folder that becomes the working directory.
class KebabPartTest : public testing::Test {
protected:
    TempDir folder;
    std::string previousDirectory;
    Bitmap frame{512, 384};
    NewRenderDriver* driver = nullptr;
    KebabPart part;
    std::string initOutput;

    void SetUp() override {
        using kebabtest::writeJpeg;
        using kebabtest::writePcx;
        writePcx(folder.file("data/kebab/kebab.pcx"), 512, 384, [](int, int) { return kBackground; });
        writePcx(folder.file("data/pow/pow.pcx"), 512, 384, [](int, int) { return kFlash; });
        kebabtest::writeTetrahedron(folder.file("data/kebab/kebab2.lwo"), 6.0f);
        writeJpeg(folder.file("data/kebab/bump.jpg"), 256, 256,
                  [](int x, int y) { return static_cast<uint32_t>((x * 7 + y * 3) & 0xFF); });
        writeJpeg(folder.file("data/kebab/envmap.jpg"), 256, 256,
                  [](int x, int y) { return 0x808080u + static_cast<uint32_t>(x / 2) * 0x10000u + static_cast<uint32_t>(y / 2); });
        char cwd[4096];
        previousDirectory = getcwd(cwd, sizeof cwd) ? cwd : ".";
        ASSERT_EQ(chdir(folder.path.c_str()), 0);

        testing::internal::CaptureStdout();
        driver = new NewRenderDriver(&frame);
        part.init(&frame, driver);
        initOutput = testing::internal::GetCapturedStdout();
        part.start = 10.0f;
    }

    // The part keeps what it loads for the run; the test releases it.
    void TearDown() override {
        testing::internal::CaptureStdout();
        Surface* surface = part.object->polygonCount ? part.object->polygons[0]->surface : nullptr;
        delete part.scene;
        delete part.object;
        delete surface;
        delete part.objectLoader;
        delete part.background;
        delete driver;
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(chdir(previousDirectory.c_str()), 0);
    }

    void drawAt(float time) {
        testing::internal::CaptureStdout();
        part.draw(&frame, driver, time);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    }
    int countPixels(uint32_t colour) const {
        int count = 0;
        for (int i = 0; i < 512 * 384; ++i) count += (frame.pixels[i] & 0xFFFFFF) == colour;
        return count;
    }
};

TEST_F(KebabPartTest, InitLoadsInOrderAndSetsTheSceneUp) {
    const std::string factory = "VEX_ImageFactory constructor gets called \n";
    const std::string pictures = factory + "trying to load data/kebab/kebab.pcx with loader number 0. \n" +
                                 "trying to load data/pow/pow.pcx with loader number 0. \n" + "innan" + factory +
                                 "trying to load data/kebab/bump.jpg with loader number 1. \n";
    EXPECT_EQ(initOutput.substr(0, pictures.size()), pictures);
    EXPECT_NE(initOutput.find("found 4 vertices"), std::string::npos);
    EXPECT_LT(initOutput.find("found 4 vertices"),
              initOutput.find("trying to load data/kebab/envmap.jpg with loader number 1. \n"));

    ASSERT_EQ(part.scene->objectCount, 1);
    EXPECT_EQ(part.scene->objects[0], part.object);
    EXPECT_EQ(part.object->surfaces, part.scene->surfaceLibrary);
    EXPECT_EQ(part.object->position.x, 12.0);
    EXPECT_EQ(part.object->position.y, 4.0);
    EXPECT_EQ(part.object->scale.z, 1.0);
    EXPECT_EQ(part.scene->nearPlane, 1.0f);
    EXPECT_EQ(part.scene->depthSort, 1);
    EXPECT_EQ(part.scene->allKinds, 1);
    EXPECT_EQ(part.scene->fogEnabled, 0);
    EXPECT_EQ(part.scene->cameras[0].position.z, -60.0);
    EXPECT_FALSE(KebabPart::flash.powActive);
}

TEST_F(KebabPartTest, DrawSpinsTheObjectOverTheBackground) {
    drawAt(10.5f);
    EXPECT_EQ(KebabPart::flash.localTime, 0.5f);
    // Rotation follows the absolute time, not the part's local time.
    EXPECT_EQ(part.object->rotation.x, 5.25);
    EXPECT_EQ(part.object->rotation.y, 21.0);
    EXPECT_EQ(part.object->rotation.z, 31.5);

    // Object at (12, 4, 60) from the eye: centre on screen near (358, 158); the tetrahedron
    // reaches about 10.4 units out, some 110 pixels at its nearest.
    int objectPixels = 0;
    for (int y = 0; y < 384; ++y) {
        for (int x = 0; x < 512; ++x) {
            if ((frame.pixels[y * 512 + x] & 0xFFFFFF) == kBackground) continue;
            ++objectPixels;
            ASSERT_TRUE(std::abs(x - 358) < 120 && std::abs(y - 158) < 120) << x << "," << y;
        }
    }
    EXPECT_GT(objectPixels, 1000);
    EXPECT_EQ(countPixels(kFlash), 0);
}

TEST_F(KebabPartTest, PowPowFlashesForOneSecondOfLocalTime) {
    drawAt(10.5f);
    SyncEvent longer = event("POWPOWX");
    EXPECT_NE(part.onEvent(&longer), 0);
    EXPECT_FALSE(KebabPart::flash.powActive);

    SyncEvent lower = event("powpow");
    EXPECT_EQ(part.onEvent(&lower), 0);
    EXPECT_TRUE(KebabPart::flash.powActive);
    EXPECT_EQ(KebabPart::flash.powTime, 0.5f);

    drawAt(11.49f);
    EXPECT_EQ(countPixels(kFlash), 512 * 384);
    drawAt(11.5f);
    EXPECT_EQ(countPixels(kFlash), 0);
    EXPECT_GT(countPixels(kBackground), 512 * 384 / 2);
    EXPECT_LT(countPixels(kBackground), 512 * 384);
}

}  // namespace
