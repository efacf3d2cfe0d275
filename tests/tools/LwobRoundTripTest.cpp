#include <gtest/gtest.h>

#include <cstring>

#include "KebabModel.h"
#include "LwobWriter.h"
#include "TestFiles.h"
#include "assets/LwoReader.h"

// What the writer makes, read back by the project's object reader.

namespace {

std::unique_ptr<LwoObject> parseQuietly(const std::vector<uint8_t>& bytes, bool& ok) {
    LwoReader reader;
    testing::internal::CaptureStdout();
    ok = reader.parseObject(bytes.data(), bytes.size());
    testing::internal::GetCapturedStdout();
    return std::move(reader.object);
}

}  // namespace

TEST(LwobRoundTrip, KebabModelReadsBackWhole) {
    const LwobModel model = buildKebabModel();
    bool ok = false;
    std::unique_ptr<LwoObject> object = parseQuietly(encodeLwob(model), ok);
    ASSERT_TRUE(ok);
    ASSERT_TRUE(object);
    ASSERT_EQ(object->pointCount(), int32_t(model.points.size()));
    ASSERT_EQ(object->polygonCount(), int32_t(model.polygons.size()));
    ASSERT_EQ(object->surfaceCount(), int32_t(model.surfaces.size()));
    for (size_t i = 0; i < model.points.size(); ++i) {
        EXPECT_EQ(object->points[i].x, double(model.points[i][0]));
        EXPECT_EQ(object->points[i].z, double(model.points[i][2]));
    }
    for (size_t i = 0; i < model.polygons.size(); ++i) {
        EXPECT_EQ(object->polygons[i].indices, model.polygons[i].indices) << i;
        EXPECT_EQ(object->polygons[i].surfaceNumber, model.polygons[i].surface) << i;
    }
    const LwoSurface& meat = *object->surfaces[0];
    EXPECT_STREQ(meat.name, "Kebab");
    EXPECT_EQ(meat.colour, 0xB06830u);
    EXPECT_TRUE(meat.colourTexture.hasImage);
    EXPECT_STREQ(meat.colourTexture.typeName, "Planar Image Map");
    EXPECT_STREQ(meat.colourTexture.imageName, "data/kebab/kebabtxt.pxc");
    EXPECT_EQ(meat.colourTexture.flags, 0x4);
    EXPECT_EQ(meat.colourTexture.size.y, 30.0);
    EXPECT_STREQ(object->surfaces[1]->name, "Spit");   // name of odd length, then a pad byte
    EXPECT_FALSE(object->surfaces[1]->colourTexture.hasImage);
}

TEST(LwobRoundTrip, StageObjectIsTheKebabModel) {
    EXPECT_EQ(readFileBytes(std::string(TEST_STAGE_DIR) + "/data/kebab/kebab2.lwo"), encodeLwob(buildKebabModel()));
}
