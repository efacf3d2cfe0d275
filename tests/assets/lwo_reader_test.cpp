#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "LwoTestSupport.h"
#include "LwobBlob.h"
#include "engine/MeshSurfaceObject.h"
#include "engine/PolygonTexture.h"
#include "engine/Surface.h"
#include "engine/SurfacePolygon.h"

namespace {

LwobBlob quadObject(const std::string& surfaceName) {
    LwobBlob chunks;
    chunks.chunk("SRFS", LwobBlob().text(surfaceName, true))
        .points({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}})
        .surface(surfaceName, LwobBlob::colour(0x12, 0x34, 0x56))
        .polygons({{0, 1, 2, 3, 1}});
    return chunks;
}

TEST(LwoReader, ParsesAndBuildsWithEveryProgressLine) {
    ReaderRun run = readBlob(quadObject("Skin").form(), nullptr);
    ASSERT_TRUE(run.parsed);
    EXPECT_EQ(withoutSurfaceNumbers(run.parseOutput),
              "found 4 vertices \n"
              "reading surface Skin  at number N\n"
              "set name to Skin \n"
              "i am now called Skin\n"
              "got to while loop \n"
              "in while loop iteration 0 \n"
              "This surface sub-chunk is  called COLR \n"
              "made it to the end \n"
              "outside \n");
    EXPECT_EQ(run.buildOutput,
              "name of surface 0 is Skin\n"
              "done adding verices \n"
              "poly iteration 0\n"
              "polygon 0 gets surface called Skin\n"
              "added polys \n"
              "deleted object \n");

    meshSurfaceObject* mesh = run.mesh;
    EXPECT_EQ(mesh->vertexCount, 4);
    ASSERT_EQ(mesh->polygonCount, 1);
    // The quad keeps its first three corners.
    SurfacePolygon* polygon = mesh->polygons[0];
    EXPECT_EQ(polygon->count, 3);
    EXPECT_EQ(polygon->vertices[2], mesh->viewVertex(2));
    EXPECT_NEAR(polygon->faceNormal.z, 1.0, 1e-12);
    ASSERT_NE(polygon->surface, nullptr);
    EXPECT_EQ(polygon->surface->colour, 0x123456u);
    EXPECT_EQ(polygon->surface->flags, 0);
    EXPECT_EQ(polygon->surface->mode, 0);
    EXPECT_EQ(mesh->surfaces, mesh->ownedSurfaces);
    EXPECT_EQ(mesh->useSceneSurfaces, 1);
    EXPECT_EQ(mesh->scale.x, 1.0);
    EXPECT_EQ(mesh->scale.z, 1.0);
    destroyQuietly(mesh);
}

TEST(LwoReader, NamePaddingAndLetterCase) {
    LwobBlob chunks;
    chunks.id("pnts").u32(12).vec(1, 2, 3)   // top-level names are exact: skipped
        .surface("Skin", LwobBlob::colour(1, 2, 3))
        .surface("Skins", LwobBlob().subChunk("colr", LwobBlob().u8(4).u8(5).u8(6).u8(0))
                              .subChunk("tran", LwobBlob().u16(7)));
    LwoReader reader;
    testing::internal::CaptureStdout();
    ASSERT_TRUE(reader.parseObject(chunks.form().data(), chunks.form().size()));
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(output.find("found"), std::string::npos);
    EXPECT_NE(output.find("This surface sub-chunk is  called colr \n"), std::string::npos);
    ASSERT_EQ(reader.object->surfaceCount(), 2);
    EXPECT_EQ(reader.object->pointCount(), 0);
    EXPECT_EQ(reader.object->surfaces[0]->colour, 0x010203u);
    EXPECT_EQ(reader.object->surfaces[1]->colour, 0x040506u);
    EXPECT_EQ(reader.object->surfaces[1]->transparency, 7);
    EXPECT_EQ(reader.object->surfaces[1]->bytesLeft, 0);

    Surface* translated = reader.translateSurface(reader.object->surfaces[1].get());
    EXPECT_STREQ(translated->name, "Skins");
    EXPECT_EQ(translated->mode, 0x24);
    EXPECT_EQ(translated->level, 7.0);
    testing::internal::CaptureStdout();
    delete translated;
    EXPECT_EQ(reader.translateSurface(nullptr), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "about to delete a polygon surface \n"
              "done deleting a polygon surface \n"
              "trying to translate NULL surface !! \n");
}

TEST(LwoReader, TextureChunksWithoutCurrentTexture) {
    LwobBlob subChunks;
    subChunks.subChunk("TSIZ", LwobBlob().vec(1, 1, 1))
        .subChunk("TCTR", LwobBlob().vec(0, 0, 0))
        .subChunk("TCLR", LwobBlob().u32(0))
        .subChunk("TIMG", LwobBlob().text("x.pcx", true))
        .subChunk("FLAG", LwobBlob().u16(0));
    LwobBlob chunks;
    chunks.surface("Bare", subChunks);
    LwoReader reader;
    testing::internal::CaptureStdout();
    ASSERT_TRUE(reader.parseObject(chunks.form().data(), chunks.form().size()));
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(output.find("in while loop iteration 0 \n"
                          "This surface sub-chunk is  called TSIZ \n"
                          " got a TSIZ chunk \n"
                          "current texture is null, but texture def chunk found \n"
                          "made it to the end \n"
                          "in while loop iteration 1 \n"
                          "This surface sub-chunk is  called TCTR \n"
                          " got a TCTR chunk \n"
                          "current texture is null, bu t texture def chunk found \n"
                          "made it to the end \n"
                          "in while loop iteration 2 \n"
                          "This surface sub-chunk is  called TCLR \n"
                          " got a TCLR chunk \n"
                          "made it to the end \n"
                          "in while loop iteration 3 \n"
                          "This surface sub-chunk is  called TIMG \n"
                          " got a TIMG chunk \n"
                          "current texture is null, but texture def chunk found \n"
                          "made it to the end \n"
                          "in while loop iteration 4 \n"
                          "This surface sub-chunk is  called FLAG \n"
                          "made it to the end \n"
                          "outside \n"),
              std::string::npos)
        << output;
    EXPECT_FALSE(reader.object->surfaces[0]->colourTexture.hasImage);
}

TEST(LwoReader, ColourTextureGivesPlanarCoordinates) {
    LwobBlob subChunks;
    subChunks.append(LwobBlob::colour(9, 9, 9))
        .subChunk("CTEX", LwobBlob().text("Planar Image Map", true))
        .subChunk("TFLG", LwobBlob().u16(4))
        .subChunk("TSIZ", LwobBlob().vec(2, 2, 2))
        .subChunk("TCTR", LwobBlob().vec(0, 0, 0))
        .subChunk("TIMG", LwobBlob().text("data/none.pcx", true));
    LwobBlob chunks;
    chunks.points({{0, 0, 0}, {1, 1, 0}, {-1, 1, 0}}).surface("Tex", subChunks).polygons({{0, 1, 2, 1}});
    ReaderRun run = readBlob(chunks.form(), nullptr);
    EXPECT_NE(run.parseOutput.find(" got a color texture \nhej\nmade it to the end \n"), std::string::npos);

    SurfacePolygon* polygon = run.mesh->polygons[0];
    ASSERT_NE(polygon, nullptr);
    const Surface* surface = polygon->surface;
    EXPECT_EQ(surface->flags, 0x21);
    ASSERT_NE(surface->texture, nullptr);
    EXPECT_EQ(surface->texture->axis, PolygonTexture::AxisZ);
    EXPECT_EQ(surface->texture->size.x, 2.0);
    // Centre: u = floor(127.5), v = floor(-127.5); (1, 1): u = 255, v = -255.
    const float expected[6] = {127, -128, 255, -255, 0, -255};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(polygon->imageCoords[i], expected[i]) << i;
    destroyQuietly(run.mesh);
}

TEST(LwoReader, TransparencyTextureGivesTransparencyCoordinates) {
    LwobBlob subChunks;
    subChunks.subChunk("TTEX", LwobBlob().text("Planar Image Map", true))
        .subChunk("TFLG", LwobBlob().u16(2))
        .subChunk("TSIZ", LwobBlob().vec(2, 2, 2))
        .subChunk("TCTR", LwobBlob().vec(0, 0, 0))
        .subChunk("TIMG", LwobBlob().text("data/none.pcx", true));
    LwobBlob chunks;
    chunks.points({{0, 0, 0}, {1, 0, 1}, {-1, 0, 1}}).surface("Glass", subChunks).polygons({{0, 1, 2, 1}});
    ReaderRun run = readBlob(chunks.form(), nullptr);
    EXPECT_NE(run.parseOutput.find(" got a transparency texture \nhej\nmade it to the end \n"),
              std::string::npos);

    SurfacePolygon* polygon = run.mesh->polygons[0];
    ASSERT_NE(polygon, nullptr);
    const Surface* surface = polygon->surface;
    EXPECT_EQ(surface->flags, 0x08);
    EXPECT_EQ(surface->texture, nullptr);
    ASSERT_NE(surface->transparency, nullptr);
    EXPECT_EQ(surface->transparency->axis, PolygonTexture::AxisY);
    // Axis Y: u from x, v from z.
    const float expected[6] = {127, -128, 255, -255, 0, -255};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(polygon->transpCoords[i], expected[i]) << i;
        EXPECT_EQ(polygon->imageCoords[i], 0.0f) << i;
    }
    destroyQuietly(run.mesh);
}

TEST(LwoReader, FormOfLengthFourHoldsNothing) {
    std::vector<uint8_t> blob = LwobBlob().points({{1, 2, 3}}).form();
    blob[4] = blob[5] = blob[6] = 0;
    blob[7] = 4;
    LwoReader reader;
    testing::internal::CaptureStdout();
    EXPECT_TRUE(reader.parseObject(blob.data(), blob.size()));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    ASSERT_NE(reader.object, nullptr);
    EXPECT_EQ(reader.object->pointCount(), 0);
}

TEST(LwoReader, PolygonsBeyondTheMeshLimitAreDroppedWithoutAWord) {
    const int32_t total = meshSurfaceObject::MaxPolygons + 2;
    LwobBlob polygons;
    for (int32_t i = 0; i < total; ++i) polygons.u16(3).u16(0).u16(1).u16(2).u16(1);
    LwobBlob chunks;
    chunks.points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}})
        .surface("Skin", LwobBlob::colour(1, 2, 3))
        .chunk("POLS", polygons);
    ReaderRun run = readBlob(chunks.form(), nullptr);
    EXPECT_EQ(run.mesh->polygonCount, meshSurfaceObject::MaxPolygons);
    EXPECT_EQ(run.buildOutput.find("del surfpoly"), std::string::npos);
    const std::string tail = run.buildOutput.substr(run.buildOutput.find("poly iteration 24999\n"));
    EXPECT_EQ(tail,
              "poly iteration 24999\n"
              "polygon 24999 gets surface called Skin\n"
              "poly iteration 25000\n"
              "polygon 25000 gets surface called Skin\n"
              "poly iteration 25001\n"
              "polygon 25001 gets surface called Skin\n"
              "added polys \n"
              "deleted object \n");
    destroyQuietly(run.mesh);
}

TEST(LwoReader, ObjectsShareSurfacesOfTheSameName) {
    auto* library = new SurfaceList;
    ReaderRun first = readBlob(quadObject("Metal").form(), library);
    LwobBlob second;
    second.points({{0, 0, 0}, {0, 1, 0}, {0, 0, 1}})
        .surface("METAL", LwobBlob::colour(0xFF, 0, 0))
        .polygons({{0, 1, 2, 1}});
    ReaderRun other = readBlob(second.form(), library);
    EXPECT_NE(other.buildOutput.find("this scene already has a surface called METAL\n"), std::string::npos);
    EXPECT_EQ(library->count, 1);
    EXPECT_EQ(first.mesh->polygons[0]->surface, other.mesh->polygons[0]->surface);
    EXPECT_EQ(other.mesh->polygons[0]->surface->colour, 0x123456u);
    EXPECT_EQ(other.mesh->ownedSurfaces, nullptr);

    // Meshes leave the shared surfaces alone; the list destroys each once.
    destroyQuietly(first.mesh);
    destroyQuietly(other.mesh);
    testing::internal::CaptureStdout();
    delete library;
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "about to delete a polygon surface \n"
              "done deleting a polygon surface \n");
}

TEST(LwoReader, ReadsFilesAndRejectsForeignOnes) {
    const std::string folder = std::string(TEST_BINARY_DIR) + "/";
    const auto write = [&](const char* name, const std::vector<uint8_t>& bytes) {
        std::FILE* file = std::fopen((folder + name).c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    };
    write("LwoReaderTest.LWO", quadObject("Skin").form());
    write("lwo_reader_foreign.lwo", quadObject("Skin").form("LWO2"));

    LwoReader reader;
    testing::internal::CaptureStdout();
    reader.readObject((folder + "lwoReaderTest.lwo").c_str());
    EXPECT_EQ(testing::internal::GetCapturedStdout().rfind("found 4 vertices \n", 0), 0u);
    ASSERT_NE(reader.object, nullptr);
    EXPECT_EQ(reader.object->polygonCount(), 1);

    testing::internal::CaptureStdout();
    reader.readObject((folder + "lwo_reader_foreign.lwo").c_str());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "COULDNT READ LWO FILE..... \n");
    EXPECT_EQ(reader.object, nullptr);

    testing::internal::CaptureStdout();
    reader.readObject((folder + "no_such_object.lwo").c_str());
    meshSurfaceObject* empty = reader.buildMesh(nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(empty->vertexCount, 0);
    EXPECT_EQ(empty->polygonCount, 0);
    EXPECT_EQ(empty->scale.y, 1.0);
    destroyQuietly(empty);
}

}  // namespace
