#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "MeshTestHelpers.h"
#include "core/Bitmap.h"
#include "engine/DepthSort.h"
#include "engine/OwnedRenderPolygon.h"
#include "engine/Scene.h"
#include "engine/Surface.h"
#include "raster/RenderDriver.h"

namespace {

// One driver call: which operation, on which record, with which stamp.
struct Call {
    std::string operation;
    RenderPolygon* polygon;
    int32_t stamp;
};

// A driver that draws nothing and records every call in order.
class RecordingDriver : public NewRenderDriver {
public:
    std::vector<Call> calls;
    int32_t clears = 0;
    std::vector<size_t> clearsAtCall;

    explicit RecordingDriver(const Bitmap* size) : NewRenderDriver(size) {}

#define RECORD(name) \
    void name(RenderPolygon* p, Bitmap*, int32_t stamp) override { calls.push_back({#name, p, stamp}); }
    RECORD(drawFlat)
    RECORD(drawTextured)
    RECORD(drawImageEnv)
    RECORD(drawTranspMapped)
    RECORD(drawBumpEnv)
    RECORD(drawImageBumpEnv)
    RECORD(drawPerspective)
    RECORD(drawPerspectiveKeyed)
    RECORD(drawPerspectiveNoDepth)
    RECORD(drawPerspectiveFogNoDepth)
    RECORD(drawPerspectiveFog)
    RECORD(drawTexturedShaded)
    RECORD(drawShaded)
#undef RECORD
    void clearDepth() override { ++clears; }
};

// A scene object that hands over records set up by the test, as they are.
class FixedPolygons : public SceneObject {
public:
    std::vector<std::unique_ptr<OwnedRenderPolygon>> records;
    std::vector<RenderPolygon*> output;

    RenderPolygon* add(float z0, float z1, float z2, uint8_t kind = 0, uint8_t mode = 0) {
        records.push_back(std::make_unique<OwnedRenderPolygon>());
        OwnedRenderPolygon* record = records.back().get();
        const float points[9] = {-1, 1, 0, 0, 0, 1, z0, z1, z2};
        for (int i = 0; i < 9; ++i) record->points[i] = points[i];
        record->kind = kind;
        record->mode = mode;
        output.push_back(record);
        return record;
    }
    RenderPolygon** render(Camera*, double, int32_t, const FogParameters*) override {
        polygonCount = static_cast<int32_t>(output.size());
        return output.data();
    }
    bool producesPolygons() override { return true; }
    uint8_t kindFlag() override { return 0; }
};

// An object that draws itself and notes when, in a log shared with the test.
class SelfDrawing : public SceneObject {
public:
    std::vector<std::string>* log;
    std::string name;
    SelfDrawing(std::vector<std::string>* log, std::string name) : log(log), name(std::move(name)) {}
    void draw(Bitmap*, RenderDriver*, Camera*, double, int32_t) override { log->push_back(name); }
    bool producesPolygons() override { return false; }
    uint8_t kindFlag() override { return 1; }
};

class SceneRender : public testing::Test {
protected:
    StdoutSink sink;
    Bitmap frame{512, 384};
    RecordingDriver driver{&frame};
    Scene scene;
    FixedPolygons fixed;

    void SetUp() override { scene.addObject(&fixed); }
    void TearDown() override { sink.start(); }
    std::vector<RenderPolygon*> drawnRecords() const {
        std::vector<RenderPolygon*> drawn;
        for (const Call& call : driver.calls) drawn.push_back(call.polygon);
        return drawn;
    }
};

TEST(DepthSort, BackToFrontWithModeOneFirstAndStableTies) {
    FixedPolygons source;
    RenderPolygon* far = source.add(10, 20, 30);
    RenderPolygon* nearer = source.add(5, 5, 5);
    RenderPolygon* behind = source.add(-50, 1, 2);
    RenderPolygon* tieA = source.add(1, 1, 1);
    RenderPolygon* tieB = source.add(1, 1, 1);
    RenderPolygon* zero = source.add(0, 0, 0);
    std::vector<RenderPolygon*> list = {behind, tieA, nearer, zero, far, tieB};
    std::vector<RenderPolygon*> a(list.size()), b(list.size());
    std::vector<uint32_t> keys(3 * list.size());

    EXPECT_EQ(depthKey(behind), 0.0f);
    depthSort(list.data(), static_cast<int32_t>(list.size()), a.data(), b.data(), keys.data());
    EXPECT_EQ(list, (std::vector<RenderPolygon*>{far, nearer, tieA, tieB, behind, zero}));

    // Mode 1 goes ahead of everything, the larger sum first among them.
    nearer->mode = 1;
    tieB->mode = 1;
    depthSort(list.data(), static_cast<int32_t>(list.size()), a.data(), b.data(), keys.data());
    EXPECT_EQ(list, (std::vector<RenderPolygon*>{nearer, tieB, far, tieA, behind, zero}));
}

// The radix passes against a plain stable sort of the key patterns, largest first, on
// random lists with many equal keys, sums at or below zero and mode 1 polygons.
TEST(DepthSort, MatchesAStableSortOfTheKeyPatterns) {
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> smallZ(-3, 12);
    std::uniform_real_distribution<float> anyZ(-50.0f, 5000.0f);
    for (int round = 0; round < 20; ++round) {
        FixedPolygons source;
        const int count = 1 + static_cast<int>(random() % 3000);
        std::vector<RenderPolygon*> list;
        for (int i = 0; i < count; ++i) {
            const bool coarse = random() % 2 == 0;   // few distinct sums: many ties
            auto z = [&] { return coarse ? static_cast<float>(smallZ(random)) : anyZ(random); };
            const float z0 = z(), z1 = z(), z2 = z();
            list.push_back(source.add(z0, z1, z2, 0, random() % 5 == 0 ? 1 : 0));
        }
        auto pattern = [](const RenderPolygon* p) {
            float sum = p->points[6] + p->points[7];
            sum = sum + p->points[8];
            float key = sum > 0.0f ? sum : 0.0f;
            if (p->mode == 1) key = -key;
            uint32_t bits;
            std::memcpy(&bits, &key, sizeof bits);
            return bits;
        };
        std::vector<RenderPolygon*> expected = list;
        std::stable_sort(expected.begin(), expected.end(),
                         [&](const RenderPolygon* a, const RenderPolygon* b) { return pattern(a) > pattern(b); });
        std::vector<RenderPolygon*> a(list.size()), b(list.size());
        std::vector<uint32_t> keys(3 * list.size());
        depthSort(list.data(), count, a.data(), b.data(), keys.data());
        ASSERT_EQ(list, expected) << "round " << round;
    }

    // The key is the single-precision sum: 2^24 + 1 + 1 stays 2^24, below 2^24 + 2.
    FixedPolygons source;
    RenderPolygon* rounded = source.add(16777216.0f, 1, 1);
    RenderPolygon* exact = source.add(16777218.0f, 0, 0);
    std::vector<RenderPolygon*> list = {rounded, exact}, a(2), b(2);
    std::vector<uint32_t> keys(6);
    depthSort(list.data(), 2, a.data(), b.data(), keys.data());
    EXPECT_EQ(list, (std::vector<RenderPolygon*>{exact, rounded}));
}

TEST(DepthSort, NegativeZeroSumIsNotTheFarthest) {
    FixedPolygons source;
    RenderPolygon* negativeZero = source.add(-0.0f, -0.0f, -0.0f);
    RenderPolygon* far = source.add(100, 100, 100);
    std::vector<RenderPolygon*> list = {negativeZero, far}, a(2), b(2);
    std::vector<uint32_t> keys(6);
    depthSort(list.data(), 2, a.data(), b.data(), keys.data());
    EXPECT_EQ(list, (std::vector<RenderPolygon*>{far, negativeZero}));
}

TEST_F(SceneRender, DrawsInSortedOrderOnlyWhenAskedTo) {
    RenderPolygon* nearer = fixed.add(6, 6, 6);
    RenderPolygon* far = fixed.add(10, 20, 30);
    scene.render(&frame, &driver, 0.0, 1);
    EXPECT_EQ(drawnRecords(), (std::vector<RenderPolygon*>{far, nearer}));

    driver.calls.clear();
    scene.depthSort = 0;
    scene.render(&frame, &driver, 0.0, 1);
    EXPECT_EQ(drawnRecords(), (std::vector<RenderPolygon*>{nearer, far}));
}

TEST_F(SceneRender, EachKindGoesToItsFillOperation) {
    struct Expected {
        uint8_t kind;
        const char* allKindsFog;
        const char* allKinds;
        const char* perspectiveOnlyFog;   // allKinds 0; empty: not drawn
        const char* perspectiveOnly;
    };
    const Expected table[] = {
        {0, "drawFlat", "drawFlat", "", ""},
        {1, "drawTextured", "drawTextured", "", ""},
        {2, "drawTextured", "drawTextured", "", ""},
        {3, "drawImageEnv", "drawImageEnv", "", ""},
        {4, "", "", "", ""},
        {6, "drawBumpEnv", "drawBumpEnv", "", ""},
        {7, "drawImageBumpEnv", "drawImageBumpEnv", "", ""},
        {9, "drawTranspMapped", "drawTranspMapped", "", ""},
        {10, "drawTranspMapped", "drawTranspMapped", "", ""},
        {33, "drawPerspectiveFog", "drawPerspective", "drawPerspectiveFogNoDepth", "drawPerspectiveNoDepth"},
        {34, "drawPerspectiveFog", "drawPerspective", "drawPerspectiveFogNoDepth", "drawPerspectiveNoDepth"},
        {97, "drawPerspectiveKeyed", "drawPerspectiveKeyed", "", ""},
        {98, "drawPerspectiveKeyed", "drawPerspectiveKeyed", "", ""},
        {255, "", "", "", ""},
    };
    for (const Expected& row : table) fixed.add(10, 10, 10, row.kind);

    for (uint8_t allKinds : {1, 0}) {
        for (uint8_t fog : {1, 0}) {
            scene.allKinds = allKinds;
            scene.fogEnabled = fog;
            driver.calls.clear();
            scene.render(&frame, &driver, 0.0, 1);
            std::vector<std::string> expected, seen;
            for (const Expected& row : table) {
                const char* name = allKinds ? (fog ? row.allKindsFog : row.allKinds)
                                            : (fog ? row.perspectiveOnlyFog : row.perspectiveOnly);
                if (*name) expected.push_back(name + std::string(" ") + std::to_string(row.kind));
            }
            for (const Call& call : driver.calls)
                seen.push_back(call.operation + " " + std::to_string(call.polygon->kind));
            EXPECT_EQ(seen, expected) << "allKinds " << int(allKinds) << " fog " << int(fog);
        }
    }
}

TEST_F(SceneRender, StampRunsToTwoHundredFiftyFiveBetweenClears) {
    fixed.add(10, 10, 10);
    std::vector<int32_t> clearedOnFrame;
    for (int frameNumber = 0; frameNumber <= 600; ++frameNumber) {
        const int32_t before = driver.clears;
        driver.calls.clear();
        scene.render(&frame, &driver, 0.0, 1);
        if (driver.clears != before) clearedOnFrame.push_back(frameNumber);
        ASSERT_EQ(driver.calls.size(), 1u);
        ASSERT_EQ(driver.calls[0].stamp, frameNumber % 256) << frameNumber;
    }
    EXPECT_EQ(clearedOnFrame, (std::vector<int32_t>{0, 256, 512}));

    // Without clearing the stamp simply keeps counting.
    Scene unclearing;
    unclearing.addObject(&fixed);
    for (int frameNumber = 0; frameNumber < 300; ++frameNumber) unclearing.render(&frame, &driver, 0.0, 0);
    EXPECT_EQ(unclearing.frameStamp, 300);
    EXPECT_EQ(driver.clears, 3);
}

TEST_F(SceneRender, PolygonCrossingTheNearPlaneReachesTheDriverTwice) {
    RenderPolygon* crossing = fixed.add(10, 3, 10, 6);
    for (int k = 0; k < 3; ++k) {
        crossing->envCoords[k] = 10.0f * k;
        crossing->bumpCoords[k] = 100.0f + k;
    }
    scene.nearPlane = 5.0f;
    scene.render(&frame, &driver, 0.0, 1);
    ASSERT_EQ(driver.calls.size(), 2u);
    EXPECT_EQ(driver.calls[0].polygon, crossing);
    EXPECT_EQ(driver.calls[1].polygon, &scene.clipScratch);
    EXPECT_EQ(driver.calls[1].operation, "drawBumpEnv");
    for (int k = 0; k < 3; ++k) EXPECT_GE(scene.clipScratch.points[6 + k], 5.0f);
    // The scratch record's own coordinate arrays carry the cut: vertex 0 is the kept one.
    EXPECT_EQ(scene.clipScratch.envCoords[0], 20.0f);
    EXPECT_GT(scene.clipScratch.envCoords[1], 0.0f);
    EXPECT_LT(scene.clipScratch.envCoords[1], 10.0f);
    EXPECT_GT(scene.clipScratch.bumpCoords[2], 101.0f);   // between vertices 1 and 2
    EXPECT_LT(scene.clipScratch.bumpCoords[2], 102.0f);
}

TEST_F(SceneRender, FullFrameListDropsTheRestWithOneMessage) {
    RenderPolygon* record = fixed.add(10, 10, 10);
    fixed.output.assign(Scene::MaxFramePolygons + 5, record);
    for (int frameNumber = 0; frameNumber < 2; ++frameNumber) {
        driver.calls.clear();
        testing::internal::CaptureStderr();
        scene.render(&frame, &driver, 0.0, 1);
        const std::string messages = testing::internal::GetCapturedStderr();
        EXPECT_EQ(driver.calls.size(), static_cast<size_t>(Scene::MaxFramePolygons));
        EXPECT_EQ(std::count(messages.begin(), messages.end(), '\n'), 1) << messages;
    }
}

TEST_F(SceneRender, FogSettingsReachTheDriverAndSelfDrawnObjectsComeLast) {
    scene.fogNear = 0.5f;
    scene.fogFar = 0.125f;
    scene.fogColour = 0x123456;
    std::vector<std::string> log;
    SelfDrawing first(&log, "first"), second(&log, "second");
    scene.addObject(&first);
    scene.addObject(&second);
    fixed.add(10, 10, 10);
    scene.render(&frame, &driver, 0.0, 1);
    EXPECT_EQ(driver.fogNear, 0.5f);
    EXPECT_EQ(driver.fogFar, 0.125f);
    EXPECT_EQ(driver.fogRange, 0.375f);
    EXPECT_EQ(driver.fogColour, 0x123456u);
    EXPECT_EQ(driver.calls.size(), 1u);
    EXPECT_EQ(log, (std::vector<std::string>{"second", "first"}));
}

TEST_F(SceneRender, AnimatedObjectTakesItsTracksAtFifteenFramesASecond) {
    Vector from, to;
    from.set(0, 0, 0);
    to.set(30, 0, 0);
    fixed.positionTrack.addKey(from, 0.0, Key::Linear);
    fixed.positionTrack.addKey(to, 30.0, Key::Linear);
    scene.render(&frame, &driver, 1.0, 1);
    EXPECT_EQ(fixed.position.x, 0.0);   // static pose: the track is not read
    fixed.staticPose = 0;
    scene.render(&frame, &driver, 1.0, 1);
    EXPECT_DOUBLE_EQ(fixed.position.x, 15.0);
}

// Only the current camera, and only when animated, takes position and angles from its tracks
// (at fifteen frames a second); the others keep theirs.
TEST_F(SceneRender, AnimatedCurrentCameraTakesItsTracks) {
    Vector near, far, level, turned;
    near.set(0, 0, -60);
    far.set(30, 6, -30);
    level.set(0, 0, 0);
    turned.set(0.5, 3, -1);
    for (int i = 0; i < 2; ++i) {
        Camera& camera = scene.cameras[i];
        camera.positionTrack.addKey(near, 0.0, Key::Linear);
        camera.positionTrack.addKey(far, 30.0, Key::Linear);
        camera.rotationTrack.addKey(level, 0.0, Key::Linear);
        camera.rotationTrack.addKey(turned, 30.0, Key::Linear);
        camera.position.set(1, 2, 3);
        camera.angles.set(0.25, 0.5, 0.75);
    }
    scene.cameras[1].animated = 1;  // animated, but not the current camera
    scene.render(&frame, &driver, 1.0, 1);
    for (int i = 0; i < 2; ++i) {
        const Camera& camera = scene.cameras[i];
        EXPECT_EQ(camera.position.x, 1.0) << i;
        EXPECT_EQ(camera.position.z, 3.0) << i;
        EXPECT_EQ(camera.angles.y, 0.5) << i;
    }

    scene.cameras[0].animated = 1;
    scene.render(&frame, &driver, 1.0, 1);
    const Camera& current = scene.cameras[0];
    EXPECT_DOUBLE_EQ(current.position.x, 15.0);
    EXPECT_DOUBLE_EQ(current.position.y, 3.0);
    EXPECT_DOUBLE_EQ(current.position.z, -45.0);
    EXPECT_DOUBLE_EQ(current.angles.x, 0.25);
    EXPECT_DOUBLE_EQ(current.angles.y, 1.5);
    EXPECT_DOUBLE_EQ(current.angles.z, -0.5);
    EXPECT_EQ(scene.cameras[1].position.x, 1.0);
    EXPECT_EQ(scene.cameras[1].angles.z, 0.75);
}

// A mesh of two flat triangles, a square of side 10 at z = 50 in front of the camera.
class SceneMesh : public testing::Test {
protected:
    StdoutSink sink;
    Bitmap frame{512, 384};
    Scene scene;
    SurfaceList surfaces;
    Surface* surface = new Surface;
    meshSurfaceObject mesh;

    void SetUp() override {
        surface->colour = 0xFFFFFF;
        surfaces.add(surface);
        mesh.surfaces = &surfaces;
        mesh.scale.set(1, 1, 1);
        Vertex* a = addPoint(mesh, -5, -5, 50);
        Vertex* b = addPoint(mesh, -5, 5, 50);
        Vertex* c = addPoint(mesh, 5, 5, 50);
        Vertex* d = addPoint(mesh, 5, -5, 50);
        addTriangle(mesh, a, b, c, surface);
        addTriangle(mesh, a, c, d, surface);
        scene.addObject(&mesh);
    }
    void TearDown() override { sink.start(); }
};

TEST_F(SceneMesh, DisabledPolygonNeverReachesTheDriver) {
    RecordingDriver driver(&frame);
    mesh.polygonEnabled[0] = 0;
    scene.render(&frame, &driver, 0.0, 1);
    ASSERT_EQ(driver.calls.size(), 1u);
    EXPECT_EQ(driver.calls[0].polygon, mesh.polygons[1]->pInfo);
}

TEST_F(SceneMesh, RealFillersDrawTheSquareAndNothingElse) {
    const uint32_t background = 0x00203040;
    for (int i = 0; i < 512 * 384; ++i) frame.pixels[i] = background;
    NewRenderDriver driver(&frame);
    scene.render(&frame, &driver, 0.0, 1);

    // Corners project to 256 +- 512 * 5 / 50 = 256 +- 51.2 across, 192 +- 51.2 down.
    int drawn = 0;
    for (int y = 0; y < 384; ++y) {
        for (int x = 0; x < 512; ++x) {
            if (frame.pixels[y * 512 + x] == background) continue;
            ++drawn;
            EXPECT_TRUE(x >= 204 && x <= 308 && y >= 140 && y <= 244) << x << "," << y;
            if (x < 204 || x > 308 || y < 140 || y > 244) return;
        }
    }
    EXPECT_GT(drawn, 100 * 100);
    // Lit by the head light at the first vertex's angle: intensity 252, 255 * 252 >> 8 = 0xFB.
    EXPECT_EQ(frame.pixels[192 * 512 + 256] & 0xFFFFFF, 0xFBFBFBu);
}

}  // namespace
