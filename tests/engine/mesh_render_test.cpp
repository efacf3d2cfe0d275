#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "MeshTestHelpers.h"
#include "core/Bitmap.h"
#include "engine/Camera.h"
#include "engine/PolygonTexture.h"
#include "engine/Surface.h"

namespace {

PolygonTexture* textureWithPicture() {
    PolygonTexture* texture = new PolygonTexture;
    texture->image = new Bitmap(256, 256);
    texture->loadedImage = texture->image;
    return texture;
}

// A mesh with one triangle in the z = 11 plane, seen from a camera at the origin.
class MeshRender : public testing::Test {
protected:
    StdoutSink sink;
    SurfaceList surfaces;
    Surface* surface = new Surface;
    meshSurfaceObject mesh;
    Camera camera;
    SurfacePolygon* polygon = nullptr;

    void SetUp() override {
        surfaces.add(surface);
        mesh.surfaces = &surfaces;
        mesh.scale.set(1, 1, 1);
        Vertex* a = addPoint(mesh, 0, 0, 11);
        Vertex* b = addPoint(mesh, 0, 1, 11);
        Vertex* c = addPoint(mesh, 1, 1, 11);
        polygon = addTriangle(mesh, a, b, c, surface);   // face normal (0, 0, -1)
        mesh.updateMatrices();
    }
    void TearDown() override { sink.start(); }

    RenderPolygon* renderOne() {
        RenderPolygon** records = mesh.render(&camera, 0.0, 0, nullptr);
        EXPECT_EQ(static_cast<SceneObject&>(mesh).polygonCount, 1);
        return records[0];
    }
};

TEST_F(MeshRender, HeadLightScalesColourBytes) {
    surface->colour = 0xAAFFFFFF;
    RenderPolygon* record = renderOne();
    EXPECT_EQ(record->kind, 0);
    EXPECT_EQ(record->colour, 0xAAFEFEFEu);
    EXPECT_EQ(polygon->litColour, 0xAAFEFEFEu);

    // Turned away from the light: black, top byte kept.
    std::swap(polygon->vertices[1], polygon->vertices[2]);
    polygon->computeFaceNormal();
    EXPECT_EQ(renderOne()->colour, 0xAA000000u);
}

TEST_F(MeshRender, CameraAndObjectPlacePoints) {
    camera.position.set(0, 0, -60);
    mesh.position.set(12, 4, 0);
    mesh.updateMatrices();
    RenderPolygon* record = renderOne();
    const float expected[9] = {12, 12, 13, 4, 5, 5, 71, 71, 71};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(record->points[i], expected[i]) << i;
    EXPECT_EQ(camera.matrix->m[3][2], 60.0);
}

TEST_F(MeshRender, EnvironmentCoordinatesFromVertexNormals) {
    surface->flags = Surface::EnvironmentMap;
    surface->environment = textureWithPicture();
    mesh.modelVertex(0)->normal.set(0, 1, 0);
    mesh.modelVertex(1)->normal.set(-1, 0, 0);
    mesh.modelVertex(2)->normal.set(0, 0, 1);
    RenderPolygon* record = renderOne();
    EXPECT_EQ(record->kind, 2);
    EXPECT_EQ(record->image, surface->environment->image->pixels);
    const float expected[6] = {128, 1, 128, 255, 128, 128};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(record->imageCoords[i], expected[i]) << i;
}

// Normals are turned by the object's rotation only: the camera may move and turn, the
// environment coordinates stay; a quarter turn of the object about z moves them.
TEST_F(MeshRender, NormalsTurnWithTheObjectButNotWithTheCamera) {
    surface->flags = Surface::EnvironmentMap;
    surface->environment = textureWithPicture();
    mesh.modelVertex(0)->normal.set(0, 1, 0);
    mesh.modelVertex(1)->normal.set(-1, 0, 0);
    mesh.modelVertex(2)->normal.set(0, 0, 1);
    camera.position.set(3, -2, -40);
    camera.angles.set(0.3, 0.7, 0.2);
    RenderPolygon* record = renderOne();
    const float unturned[6] = {128, 1, 128, 255, 128, 128};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(record->imageCoords[i], unturned[i]) << i;

    mesh.rotation.set(0, 0, std::acos(0.0));
    mesh.updateMatrices();
    record = renderOne();
    // (0, 1, 0) and (-1, 0, 0) turn to (s, ~0, 0) and (~0, s, 0) with s = +-1 (the ~0 parts
    // may truncate to 127); (0, 0, 1) stays.
    EXPECT_TRUE(record->imageCoords[0] == 1 || record->imageCoords[0] == 255) << record->imageCoords[0];
    EXPECT_EQ(record->imageCoords[4], record->imageCoords[0]);
    EXPECT_EQ(record->imageCoords[2], 128);
    EXPECT_EQ(record->imageCoords[5], 128);
}

TEST_F(MeshRender, TexturedKindsFillTheirMaps) {
    surface->flags = 7;
    surface->texture = textureWithPicture();
    surface->environment = textureWithPicture();
    surface->bump = textureWithPicture();
    surface->mode = 0x124;
    surface->level = 300.7;
    for (int k = 0; k < 3; ++k) {
        polygon->setUV(SurfacePolygon::ImageUV, k, 10.0f + k, 20.0f + k);
        polygon->setUV(SurfacePolygon::BumpUV, k, 30.0f + k, 40.0f + k);
    }
    RenderPolygon* record = renderOne();
    EXPECT_EQ(record->kind, 7);
    EXPECT_EQ(record->image, surface->texture->image->pixels);
    EXPECT_EQ(record->envMap, surface->environment->image->pixels);
    EXPECT_EQ(record->bumpMap, surface->bump->image->pixels);
    EXPECT_EQ(record->imageCoords[1], 11.0f);
    EXPECT_EQ(record->imageCoords[3], 20.0f);
    EXPECT_EQ(record->bumpCoords[5], 42.0f);
    EXPECT_EQ(record->envCoords[0], 128.0f);   // zero normals point nowhere
    EXPECT_EQ(record->mode, 0x24);
    EXPECT_EQ(record->level, 300 & 0xFF);
}

TEST_F(MeshRender, MissingPictureIsReportedAndReplaced) {
    surface->flags = 33;
    surface->texture = new PolygonTexture;
    testing::internal::CaptureStdout();
    RenderPolygon* record = renderOne();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "GAAAAAAH !!!! image is NULL !!!!!! \n");
    EXPECT_EQ(record->kind, 33);
    ASSERT_NE(record->image, nullptr);
    EXPECT_EQ(record->image[255 * 256 + 255], 0u);
}

TEST_F(MeshRender, DisabledAndSurfacelessPolygonsYieldNothing) {
    mesh.polygonEnabled[0] = 0;
    mesh.render(&camera, 0.0, 0, nullptr);
    EXPECT_EQ(static_cast<SceneObject&>(mesh).polygonCount, 0);

    mesh.polygonEnabled[0] = 0xFF;
    polygon->surface = nullptr;
    mesh.render(&camera, 0.0, 0, nullptr);
    EXPECT_EQ(static_cast<SceneObject&>(mesh).polygonCount, 0);
}

TEST_F(MeshRender, OutputListHoldsAtMostTenThousand) {
    for (int i = 0; i < meshSurfaceObject::MaxOutput; ++i)
        addTriangle(mesh, mesh.viewVertex(0), mesh.viewVertex(1), mesh.viewVertex(2), surface);
    RenderPolygon** records = mesh.render(&camera, 0.0, 0, nullptr);
    EXPECT_EQ(static_cast<SceneObject&>(mesh).polygonCount, meshSurfaceObject::MaxOutput);
    EXPECT_EQ(records[meshSurfaceObject::MaxOutput - 1], mesh.polygons[meshSurfaceObject::MaxOutput - 1]->pInfo);
}

}  // namespace
