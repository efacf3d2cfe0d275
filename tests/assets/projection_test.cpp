#include <gtest/gtest.h>

#include <cmath>

#include "assets/LwoReader.h"
#include "assets/TextureProjection.h"
#include "core/Bitmap.h"
#include "core/LibcRandom.h"
#include "engine/PolygonTexture.h"

namespace {

struct Planar {
    PolygonTexture texture;
    Planar(int32_t axis, double sx, double sy, double sz) {
        texture.axis = axis;
        texture.centre.set(10, 20, 30);
        texture.size.set(sx, sy, sz);
    }
};

TEST(TextureProjection, PlanarMapsTheBoxAroundTheCentre) {
    float u = 0, v = 0;
    Planar z(PolygonTexture::AxisZ, 4, 4, 4);
    projectPoint(&z.texture, 10, 20, 30, u, v);
    EXPECT_EQ(u, 127.0f);
    EXPECT_EQ(v, -128.0f);

    Planar x(PolygonTexture::AxisX, 4, 6, 8);
    projectPoint(&x.texture, 12, 23, 34, u, v);
    EXPECT_EQ(u, 255.0f);
    EXPECT_EQ(v, -255.0f);

    Planar y(PolygonTexture::AxisY, 4, 6, 8);
    projectPoint(&y.texture, 8, 0, 26, u, v);   // q = (0, -, 0)
    EXPECT_EQ(u, 0.0f);
    EXPECT_EQ(v, 0.0f);
}

TEST(TextureProjection, OtherKindsGiveRandomWholeTexels) {
    Planar cylinder(PolygonTexture::AxisZ, 1, 1, 1);
    cylinder.texture.mapType = PolygonTexture::Cylindrical;
    Planar oddAxis(7, 1, 1, 1);
    demoRandom().reseed(12345);
    bool varied = false;
    float firstU = -1;
    for (int i = 0; i < 50; ++i) {
        float u = -1, v = -1;
        projectPoint(i % 3 == 0 ? nullptr : i % 3 == 1 ? &cylinder.texture : &oddAxis.texture, 1, 2, 3, u, v);
        for (float c : {u, v}) {
            EXPECT_GE(c, 0.0f);
            EXPECT_LE(c, 255.0f);
            EXPECT_EQ(c, std::floor(c));
        }
        if (i == 0) firstU = u;
        varied = varied || u != firstU;
    }
    EXPECT_TRUE(varied);
}

TEST(TextureProjection, ZeroSizeKeepsTheRandomValue) {
    Planar flat(PolygonTexture::AxisZ, 0, 2, 2);   // u would divide by zero
    for (int i = 0; i < 20; ++i) {
        float u = -1, v = -1;
        projectPoint(&flat.texture, 11, 20, 30, u, v);
        EXPECT_TRUE(u >= 0.0f && u <= 255.0f) << u;
        EXPECT_EQ(v, -128.0f);
    }
    Planar empty(PolygonTexture::AxisX, 0, 0, 0);   // 0 / 0 at the centre
    float u = -1, v = -1;
    projectPoint(&empty.texture, 10, 20, 30, u, v);
    EXPECT_TRUE(std::isfinite(u) && std::isfinite(v));
}

TEST(TextureProjection, BuildReadsTypeFlagsCentreAndSize) {
    struct Case {
        const char* type;
        int16_t flags;
        int32_t mapType;
        int32_t axis;
    } cases[] = {
        {"PLANAR IMAGE MAP", 0, PolygonTexture::Planar, PolygonTexture::AxisX},
        {"Cylindrical Image Map", 0x6, PolygonTexture::Cylindrical, PolygonTexture::AxisZ},
        {"spherical image map", 0x3, PolygonTexture::Spherical, PolygonTexture::AxisY},
        {"Cubic Image Map", 0x1, PolygonTexture::Planar, PolygonTexture::AxisX},
    };
    for (const Case& c : cases) {
        LwoTexture definition;
        std::snprintf(definition.typeName, sizeof definition.typeName, "%s", c.type);
        std::snprintf(definition.imageName, sizeof definition.imageName, "data/none.pcx");
        definition.flags = c.flags;
        definition.centre.set(1, 2, 3);
        definition.size.set(4, 5, 6);
        testing::internal::CaptureStdout();
        PolygonTexture* texture = buildProjection(definition);
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(texture->mapType, c.mapType) << c.type;
        EXPECT_EQ(texture->axis, c.axis) << c.type;
        EXPECT_EQ(texture->width, 256);
        ASSERT_NE(texture->image, nullptr);
        EXPECT_EQ(texture->image->width, 256);
        EXPECT_EQ(texture->loadedImage, texture->image);
        EXPECT_EQ(texture->centre.z, 3.0);
        EXPECT_EQ(texture->size.y, 5.0);
        testing::internal::CaptureStdout();
        delete texture;
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  "deallocating polygon texture \n"
                  "now i should delete an image \n"
                  "deallocated internal Bitmap buffer \n"
                  "done dealocating polygon texture \n");
    }
}

}  // namespace
