#include <gtest/gtest.h>

#include <string>

#include "MeshTestHelpers.h"
#include "core/Bitmap.h"
#include "engine/PolygonTexture.h"
#include "engine/Surface.h"

namespace {

const char kNoVertexMessage[] =
    "GAAAAH! trying to set UV coords in a SurfacePolygon for a nonexisting vertex \n";

TEST(SurfacePolygon, SetUVChoosesArrayByKind) {
    meshSurfaceObject mesh;
    Vertex* a = addPoint(mesh, 0, 0, 0);
    Vertex* b = addPoint(mesh, 1, 0, 0);
    Vertex* c = addPoint(mesh, 0, 1, 0);
    SurfacePolygon* polygon = addTriangle(mesh, a, b, c, nullptr);

    testing::internal::CaptureStdout();
    polygon->setUV(SurfacePolygon::ImageUV, 1, 3.5f, 4.5f);
    polygon->setUV(SurfacePolygon::EnvironmentUV, 2, 5, 6);
    polygon->setUV(SurfacePolygon::BumpUV, 0, 7, 8);
    polygon->setUV(SurfacePolygon::TransparencyUV, 0, 9, 10);
    polygon->setUV(4, 0, 11, 12);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(polygon->imageCoords[2], 3.5f);
    EXPECT_EQ(polygon->imageCoords[3], 4.5f);
    EXPECT_EQ(polygon->envCoords[4], 5.0f);
    EXPECT_EQ(polygon->bumpCoords[1], 8.0f);
    EXPECT_EQ(polygon->transpCoords[0], 9.0f);

    testing::internal::CaptureStdout();
    polygon->setUV(SurfacePolygon::ImageUV, 3, 99, 99);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), kNoVertexMessage);
    for (float c : polygon->imageCoords) EXPECT_NE(c, 99.0f);

    // A fourth vertex is dropped; vertex() answers only for those held.
    polygon->addVertex(a);
    EXPECT_EQ(polygon->count, 3);
    EXPECT_EQ(polygon->vertex(2), c);
    EXPECT_EQ(polygon->vertex(3), nullptr);
}

TEST(MeshSurfaceObject, SharedVertexNormalAveragesFaces) {
    meshSurfaceObject mesh;
    Vertex* shared = addPoint(mesh, 0, 0, 0);
    Vertex* frontB = addPoint(mesh, 1, 0, 0);
    Vertex* frontC = addPoint(mesh, 1, 1, 0);
    Vertex* sideB = addPoint(mesh, 0, 1, 0);
    Vertex* sideC = addPoint(mesh, 0, 1, 1);
    // Faces with normals (0, 0, 1) and (1, 0, 0) meet at the shared vertex.
    SurfacePolygon* front = addTriangle(mesh, shared, frontB, frontC, nullptr);
    SurfacePolygon* side = addTriangle(mesh, shared, sideB, sideC, nullptr);
    Vertex* unused = addPoint(mesh, 5, 5, 5);
    mesh.computeNormals();

    EXPECT_NEAR(front->faceNormal.z, 1.0, 1e-12);
    EXPECT_NEAR(side->faceNormal.x, 1.0, 1e-12);
    for (const Vertex* v : {shared, mesh.modelVertex(0)}) {
        EXPECT_NEAR(v->normal.x, 0.70710678, 1e-7);
        EXPECT_NEAR(v->normal.y, 0.0, 1e-12);
        EXPECT_NEAR(v->normal.z, 0.70710678, 1e-7);
    }
    EXPECT_EQ(unused->normal.length(), 0.0);

    // A degenerate triangle gets a zero face normal, not NaN.
    SurfacePolygon* flat = addTriangle(mesh, shared, shared, unused, nullptr);
    EXPECT_EQ(flat->faceNormal.length(), 0.0);
}

TEST(MeshSurfaceObject, VertexLimit) {
    StdoutSink sink;
    meshSurfaceObject mesh;
    for (int i = 0; i < meshSurfaceObject::MaxVertices; ++i) addPoint(mesh, i, 0, 0);
    EXPECT_NE(mesh.modelVertex(49999), nullptr);
    EXPECT_EQ(mesh.modelVertex(50000), nullptr);
    EXPECT_EQ(mesh.viewVertex(-1), nullptr);
    EXPECT_EQ(mesh.viewVertex(7)->position.x, 7.0);
    EXPECT_EQ(mesh.viewVertex(7)->normal.length(), 0.0);

    Vertex extra;
    extra.position.set(1, 2, 3);
    testing::internal::CaptureStdout();
    EXPECT_EQ(mesh.addVertex(&extra), -1);   // stdin is no console here: no wait
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "blahg!!! overtepping max vertices !!!\n");
    EXPECT_EQ(mesh.vertexCount, 50000);
    sink.start();
}

TEST(MeshSurfaceObject, DestructionReleasesOwnedSurfacesOnce) {
    auto* mesh = new meshSurfaceObject;
    mesh->ownedSurfaces = new SurfaceList;
    Surface* surface = new Surface;
    surface->texture = new PolygonTexture;
    surface->texture->image = new Bitmap(4, 4);
    surface->texture->loadedImage = surface->texture->image;
    surface->environment = new PolygonTexture;
    mesh->ownedSurfaces->add(surface);
    Vertex* a = addPoint(*mesh, 0, 0, 0);
    Vertex* b = addPoint(*mesh, 1, 0, 0);
    Vertex* c = addPoint(*mesh, 0, 1, 0);
    addTriangle(*mesh, a, b, c, surface);

    testing::internal::CaptureStdout();
    delete mesh;
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "about to execute meshSurfaceObject destructor \n"
              "about to delete a mesh object \n"
              "del surfpoly {\n"
              "about to try imageCoords \n"
              "about to try envCoords \n"
              "about to try bumpCoords \n"
              "about to try transpCoords \n"
              "about to try pInfo \n"
              "} del surfpoly \n"
              "about to delete a polygon surface \n"
              "deallocating polygon texture \n"
              "now i should delete an image \n"
              "deallocated internal Bitmap buffer \n"
              "done dealocating polygon texture \n"
              "deallocating polygon texture \n"
              "ey - image already null ? \n"
              "done dealocating polygon texture \n"
              "done deleting a polygon surface \n"
              "deallocated TCB list \n"
              "deallocated a keyVector \n"
              "deallocated a keyVector \n"
              "deallocated a keyVector \n");
}

TEST(SurfaceList, FindsByNameIgnoringCaseAndStopsAtCapacity) {
    SurfaceList list;
    Surface* metal = new Surface;
    std::snprintf(metal->name, Surface::NameSize, "Metal");
    ASSERT_TRUE(list.add(metal));
    EXPECT_EQ(list.find("mETAL"), metal);
    EXPECT_EQ(list.find("Metals"), nullptr);
    for (int i = 1; i < SurfaceList::Capacity; ++i) ASSERT_TRUE(list.add(new Surface));
    Surface extra;
    EXPECT_FALSE(list.add(&extra));
    EXPECT_EQ(list.count, SurfaceList::Capacity);
}

}  // namespace
