#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "KebabTestFiles.h"
#include "core/Bitmap.h"
#include "engine/MeshSurfaceObject.h"
#include "engine/PolygonTexture.h"
#include "engine/Surface.h"
#include "engine/SurfacePolygon.h"
#include "parts/KebabObjectLoader.h"

namespace {

std::unique_ptr<Bitmap> picture(uint32_t (*blue)(int x, int y)) {
    auto bitmap = std::make_unique<Bitmap>(256, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) bitmap->pixels[y * 256 + x] = 0xFFAB1200u | blue(x, y);
    return bitmap;
}

TEST(KebabBumpGradient, ColumnRampWrapsAtTheEdges) {
    auto ramp = picture([](int x, int) { return static_cast<uint32_t>(x); });
    std::unique_ptr<Bitmap> gradient(makeBumpGradient(ramp.get()));
    ASSERT_EQ(gradient->width, 256);
    ASSERT_EQ(gradient->height, 256);
    for (int y = 0; y < 256; y += 17) {
        EXPECT_EQ(gradient->pixels[y * 256 + 0], 0x00810000u);    // (1 - 255) / 2 = -127
        EXPECT_EQ(gradient->pixels[y * 256 + 255], 0x00810000u);  // (0 - 254) / 2 = -127
        for (int x = 1; x < 255; ++x) ASSERT_EQ(gradient->pixels[y * 256 + x], 0x00010000u) << x << "," << y;
    }
}

TEST(KebabBumpGradient, NegativeStepsAndTruncation) {
    // Height falls by one a row: dy = -2 / 2 = -1 and dx = 0, so 0 * 65536 - 1 masked.
    auto fall = picture([](int, int y) { return static_cast<uint32_t>(255 - y); });
    std::unique_ptr<Bitmap> gradient(makeBumpGradient(fall.get()));
    EXPECT_EQ(gradient->pixels[100 * 256 + 40], 0x00FF00FFu);

    // One raised column: differences of +3 and -3 halve toward zero to +1 and -1.
    auto ridge = picture([](int x, int) { return x == 3 ? 3u : 0u; });
    std::unique_ptr<Bitmap> halved(makeBumpGradient(ridge.get()));
    EXPECT_EQ(halved->pixels[10 * 256 + 2], 0x00010000u);
    EXPECT_EQ(halved->pixels[10 * 256 + 4], 0x00FF0000u);
}

TEST(KebabBumpGradient, PictureOfAnotherSizeGivesAFlatMap) {
    Bitmap small(16, 16);
    testing::internal::CaptureStderr();
    std::unique_ptr<Bitmap> gradient(makeBumpGradient(&small));
    EXPECT_NE(testing::internal::GetCapturedStderr(), "");
    ASSERT_EQ(gradient->width, 256);
    for (int i = 0; i < 256 * 256; ++i) ASSERT_EQ(gradient->pixels[i], 0u);
}

TEST(KebabObjectLoader, NormalsPickTheTexels) {
    EXPECT_EQ(normalToTexel(0.0), 128.0f);
    EXPECT_EQ(normalToTexel(1.0), 255.0f);
    EXPECT_EQ(normalToTexel(-1.0), 1.0f);
}

TEST(KebabObjectLoader, DressesEveryPolygonInOneBumpEnvironmentSurface) {
    TempDir folder;
    kebabtest::writeTetrahedron(folder.file("object.lwo"), 10.0f);
    kebabtest::writePcx(folder.file("bump.pcx"), 256, 256, [](int x, int) { return static_cast<uint32_t>(x); });
    kebabtest::writePcx(folder.file("env.pcx"), 256, 256, [](int, int) { return 0x336699u; });

    testing::internal::CaptureStdout();
    KebabObjectLoader loader;
    meshSurfaceObject* mesh = loader.load(folder.file("object.lwo").c_str(), folder.file("bump.pcx").c_str(),
                                          folder.file("env.pcx").c_str(), folder.file("image.pxc").c_str());
    const std::string printed = testing::internal::GetCapturedStdout();

    const size_t bumpLine = printed.find("trying to load " + folder.file("bump.pcx"));
    const size_t vertexLine = printed.find("found 4 vertices");
    const size_t envLine = printed.find("trying to load " + folder.file("env.pcx"));
    EXPECT_LT(bumpLine, vertexLine);
    EXPECT_LT(vertexLine, envLine);
    EXPECT_NE(envLine, std::string::npos);

    ASSERT_EQ(mesh->polygonCount, 4);
    Surface* surface = mesh->polygons[0]->surface;
    EXPECT_EQ(surface->flags, 7);
    EXPECT_EQ(surface->bump->loadedImage, nullptr);
    EXPECT_EQ(surface->bump->image->pixels[5 * 256 + 7], 0x00010000u);
    EXPECT_EQ(surface->environment->image->pixels[300] & 0xFFFFFF, 0x336699u);
    // No loader takes the image texture's name: it stays black.
    for (int i = 0; i < 256 * 256; ++i) ASSERT_EQ(surface->texture->image->pixels[i], 0u);

    for (int32_t i = 0; i < mesh->polygonCount; ++i) {
        const SurfacePolygon* polygon = mesh->polygons[i];
        EXPECT_EQ(polygon->surface, surface);
        for (int k = 0; k < 3; ++k) {
            const Vector& normal = polygon->vertices[k]->normal;
            EXPECT_NEAR(normal.length(), 1.0, 1e-12);
            EXPECT_EQ(polygon->imageCoords[2 * k], static_cast<float>(normal.x * 127 + 128));
            EXPECT_EQ(polygon->imageCoords[2 * k + 1], static_cast<float>(normal.y * 127 + 128));
            EXPECT_EQ(polygon->bumpCoords[2 * k], polygon->imageCoords[2 * k]);
            EXPECT_EQ(polygon->bumpCoords[2 * k + 1], polygon->imageCoords[2 * k + 1]);
        }
    }

    testing::internal::CaptureStdout();
    delete mesh;
    delete surface;   // the loader's surface belongs to whoever keeps the object
    testing::internal::GetCapturedStdout();
}

}  // namespace
