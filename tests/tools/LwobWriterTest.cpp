#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "KebabModel.h"
#include "LwobTestReader.h"
#include "LwobWriter.h"

namespace {

// Two surfaces: "Spit" (4 letters, 5 bytes with its terminator: one pad byte) and
// "Kebab" (5 letters, 6 bytes: no pad), the second with an image texture.
LwobModel twoSurfaceModel() {
    LwobModel m;
    m.points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1.5f}};
    m.polygons = {{{0, 1, 2}, 1}, {{0, 2, 3}, 2}, {{0, 1, 2, 3}, 2}};
    LwobSurface spit;
    spit.name = "Spit";
    spit.red = 10, spit.green = 20, spit.blue = 30;
    LwobSurface kebab;
    kebab.name = "Kebab";
    LwobTexture t;
    t.flags = 0x4;
    t.size = {2, 3, 4};
    t.centre = {0.5f, -1, 0};
    t.imageName = "data/kebab/kebabtxt.pxc";
    kebab.colourTexture = t;
    m.surfaces = {spit, kebab};
    return m;
}

}  // namespace

TEST(LwobWriter, FormHeaderAndChunkOrder) {
    std::vector<uint8_t> file = encodeLwob(twoSurfaceModel());
    ASSERT_GE(file.size(), 12u);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "FORM");
    EXPECT_EQ(be32(&file[4]), file.size() - 8);
    EXPECT_EQ(std::string(file.begin() + 8, file.begin() + 12), "LWOB");
    std::vector<std::string> ids;
    for (const IffChunk& c : lwobChunks(file)) {
        ids.push_back(c.id);
        EXPECT_EQ(c.data.size() % 2, 0u) << c.id << " has an odd length";
    }
    EXPECT_EQ(ids, (std::vector<std::string>{"PNTS", "SRFS", "POLS", "SURF", "SURF"}));
}

TEST(LwobWriter, PointsPolygonsAndSurfaceNames) {
    const LwobModel model = twoSurfaceModel();
    std::vector<IffChunk> chunks = lwobChunks(encodeLwob(model));
    ASSERT_EQ(chunks.size(), 5u);
    auto points = parsePnts(chunks[0].data);
    ASSERT_EQ(points.size(), model.points.size());
    EXPECT_EQ(points[3][2], 1.5f);
    // SRFS: each name NUL-terminated and padded to an even length.
    std::vector<uint8_t> names{'S', 'p', 'i', 't', 0, 0, 'K', 'e', 'b', 'a', 'b', 0};
    EXPECT_EQ(chunks[1].data, names);
    auto polys = parsePols(chunks[2].data);
    ASSERT_EQ(polys.size(), 3u);
    EXPECT_EQ(polys[2].indices, (std::vector<uint16_t>{0, 1, 2, 3}));
    EXPECT_EQ(polys[1].surface, 2);
}

TEST(LwobWriter, SurfaceSubChunksAndNamePadding) {
    std::vector<IffChunk> chunks = lwobChunks(encodeLwob(twoSurfaceModel()));
    ASSERT_EQ(chunks.size(), 5u);
    ParsedSurface spit = parseSurf(chunks[3].data);
    EXPECT_EQ(spit.name, "Spit");
    EXPECT_EQ(spit.nameBytes, 6u);
    EXPECT_EQ(chunks[3].data[5], 0) << "pad byte after the odd-length name";
    ASSERT_TRUE(spit.consistent);
    ASSERT_EQ(spit.subChunks.size(), 1u);
    EXPECT_EQ(spit.subChunks[0].id, "COLR");
    EXPECT_EQ(spit.subChunks[0].data, (std::vector<uint8_t>{10, 20, 30, 0}));

    ParsedSurface kebab = parseSurf(chunks[4].data);
    EXPECT_EQ(kebab.nameBytes, 6u);
    ASSERT_TRUE(kebab.consistent);
    std::vector<std::string> ids;
    for (const SubChunk& s : kebab.subChunks) ids.push_back(s.id);
    EXPECT_EQ(ids, (std::vector<std::string>{"COLR", "CTEX", "TFLG", "TSIZ", "TCTR", "TIMG"}));
    EXPECT_STREQ(reinterpret_cast<const char*>(kebab.subChunks[1].data.data()), "Planar Image Map");
    EXPECT_EQ(be16(kebab.subChunks[2].data.data()), 0x4);
    EXPECT_EQ(beFloat(&kebab.subChunks[3].data[8]), 4.0f);
    EXPECT_EQ(beFloat(&kebab.subChunks[4].data[0]), 0.5f);
    EXPECT_STREQ(reinterpret_cast<const char*>(kebab.subChunks[5].data.data()), "data/kebab/kebabtxt.pxc");
    for (const SubChunk& s : kebab.subChunks) EXPECT_EQ(s.data.size() % 2, 0u) << s.id;
}

TEST(LwobWriter, RejectsModelsTheReaderCouldNotUse) {
    LwobModel badIndex = twoSurfaceModel();
    badIndex.polygons[0].indices[2] = 4;
    LwobModel noSurface = twoSurfaceModel();
    noSurface.polygons[0].surface = 0;
    LwobModel twoCorners = twoSurfaceModel();
    twoCorners.polygons[0].indices = {0, 1};
    LwobModel longName = twoSurfaceModel();
    longName.surfaces[0].name = std::string(25, 'x');
    for (const LwobModel* m : {&badIndex, &noSurface, &twoCorners, &longName}) {
        EXPECT_TRUE(lwobModelProblem(*m).has_value());
        EXPECT_THROW(encodeLwob(*m), std::invalid_argument);
    }
    EXPECT_FALSE(lwobModelProblem(twoSurfaceModel()).has_value());
}

TEST(KebabModel, TrianglesOnlyFacingOutwards) {
    const LwobModel m = buildKebabModel();
    ASSERT_FALSE(lwobModelProblem(m).has_value());
    EXPECT_GE(m.polygons.size(), 300u);
    EXPECT_LE(m.polygons.size(), 2000u);
    for (size_t i = 0; i < m.polygons.size(); ++i) {
        const LwobPolygon& p = m.polygons[i];
        ASSERT_EQ(p.indices.size(), 3u);
        const auto &a = m.points[p.indices[0]], &b = m.points[p.indices[1]], &c = m.points[p.indices[2]];
        double u[3], v[3], centroid[3];
        for (int k = 0; k < 3; ++k) {
            u[k] = double(b[k]) - a[k];
            v[k] = double(c[k]) - a[k];
            centroid[k] = (double(a[k]) + b[k] + c[k]) / 3.0;
        }
        double n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
        // Both parts are shaped around the y axis through the origin, so an outward
        // normal points away from it.
        double outward = n[0] * centroid[0] + n[1] * centroid[1] + n[2] * centroid[2];
        EXPECT_GT(outward, 0.0) << "triangle " << i << " faces inwards";
        EXPECT_GT(std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]), 1e-9) << "triangle " << i << " is degenerate";
    }
    ASSERT_TRUE(m.surfaces[0].colourTexture.has_value());
    EXPECT_EQ(m.surfaces[0].colourTexture->imageName, "data/kebab/kebabtxt.pxc");
    EXPECT_EQ(m.surfaces[0].colourTexture->typeName, "Planar Image Map");
}
