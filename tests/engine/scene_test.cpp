#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "MeshTestHelpers.h"
#include "engine/Scene.h"
#include "engine/Surface.h"

namespace {

const double kPi = 3.14159265358979323846;

Vector placed(const meshSurfaceObject& mesh, double x, double y, double z) {
    Vector local;
    local.set(x, y, z);
    return local.transform(mesh.objectMatrix);
}

TEST(Scene, CameraLookupAndPosition) {
    StdoutSink sink;
    Scene scene;
    EXPECT_EQ(scene.camera(3), &scene.cameras[3]);
    EXPECT_EQ(scene.camera(4), nullptr);
    EXPECT_EQ(scene.camera(-1), nullptr);

    scene.setCameraPosition(0, 0, -60);
    EXPECT_EQ(scene.camera(0)->position.z, -60.0);
    EXPECT_EQ(scene.camera(0)->position.w, 1.0);
    EXPECT_EQ(scene.camera(1)->position.z, 0.0);
    sink.start();
}

TEST(Scene, AddObjectStopsAtHundredAndSharesTheLibrary) {
    StdoutSink sink;
    std::vector<std::unique_ptr<meshSurfaceObject>> meshes;
    Scene scene;
    for (int i = 0; i < Scene::MaxObjects; ++i) {
        meshes.push_back(std::make_unique<meshSurfaceObject>());
        meshes.back()->useSceneSurfaces = i % 2;
        ASSERT_EQ(scene.addObject(meshes.back().get()), 0);
    }
    EXPECT_EQ(meshes[1]->surfaces, scene.surfaceLibrary);
    EXPECT_EQ(meshes[0]->surfaces, nullptr);

    meshSurfaceObject late;
    EXPECT_EQ(scene.addObject(&late), -1);
    EXPECT_EQ(scene.objectCount, 100);
    EXPECT_EQ(scene.objects[99], meshes[99].get());
    sink.start();
}

TEST(SceneObject, MatrixRotatesThenScalesThenTranslates) {
    StdoutSink sink;
    meshSurfaceObject mesh;
    mesh.rotation.set(0, 0, kPi / 2);
    mesh.scale.set(1, 1, 1);
    mesh.position.set(10, 0, 0);
    mesh.updateMatrices();
    Vector p = placed(mesh, 1, 0, 0);
    EXPECT_NEAR(p.x, 10, 1e-12);
    EXPECT_NEAR(p.y, 1, 1e-12);
    EXPECT_NEAR(p.z, 0, 1e-12);

    // The scale acts on world axes after the rotation.
    mesh.scale.set(2, 1, 1);
    mesh.position.set(0, 0, 0);
    mesh.updateMatrices();
    p = placed(mesh, 1, 0, 0);
    EXPECT_NEAR(p.x, 0, 1e-12);
    EXPECT_NEAR(p.y, 1, 1e-12);
    p = placed(mesh, 0, 1, 0);
    EXPECT_NEAR(p.x, -2, 1e-12);
    EXPECT_NEAR(p.y, 0, 1e-12);

    // The normal matrix is the rotation alone.
    Vector n;
    n.set(1, 0, 0);
    n = n.transform(mesh.normalMatrix);
    EXPECT_NEAR(n.x, 0, 1e-12);
    EXPECT_NEAR(n.y, 1, 1e-12);

    // Rotations about X, then Y, then Z, each by the negated angle.
    mesh.rotation.set(kPi / 2, kPi / 2, 0);
    mesh.scale.set(1, 1, 1);
    mesh.updateMatrices();
    p = placed(mesh, 0, 1, 0);   // X: (0, 0, 1), then Y: (1, 0, 0)
    EXPECT_NEAR(p.x, 1, 1e-12);
    EXPECT_NEAR(p.y, 0, 1e-12);
    EXPECT_NEAR(p.z, 0, 1e-12);
    sink.start();
}

TEST(Camera, ViewMatrixMovesThenTurnsAboutYThenXThenZ) {
    StdoutSink sink;
    Camera camera;
    camera.position.set(10, 20, 30);
    camera.angles.set(kPi / 2, kPi / 2, kPi / 2);
    Vector point;
    point.set(11, 22, 33);
    // (1, 2, 3) after the move; Y: (-3, 2, 1), X: (-3, 1, -2), Z: (1, 3, -2). Negated
    // angles or another order of the turns end elsewhere.
    const Vector seen = point.transform(camera.buildViewMatrix());
    EXPECT_NEAR(seen.x, 1, 1e-12);
    EXPECT_NEAR(seen.y, 3, 1e-12);
    EXPECT_NEAR(seen.z, -2, 1e-12);
    sink.start();
}

TEST(Camera, DestructionMessages) {
    testing::internal::CaptureStdout();
    { Camera camera; }
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "deleted camera rotation matrix \n"
              "deallocated a keyVector \n"
              "deallocated a keyVector \n");
}

}  // namespace
