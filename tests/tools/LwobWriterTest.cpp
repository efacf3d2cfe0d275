#include <gtest/gtest.h>

#include <map>
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

TEST(KebabModel, ClosedTriangleMeshesFacingOutwards) {
    const LwobModel m = buildKebabModel();
    ASSERT_FALSE(lwobModelProblem(m).has_value());
    EXPECT_GE(m.polygons.size(), 300u);
    EXPECT_LE(m.polygons.size(), 2000u);
    // Consistent winding of a closed surface: every directed edge occurs once, and so does
    // its reverse.
    std::map<std::pair<uint16_t, uint16_t>, int> edges;
    // Signed volume per surface: positive when (b - a) x (c - a) points outwards.
    std::map<uint16_t, double> volume;
    for (const LwobPolygon& p : m.polygons) {
        ASSERT_EQ(p.indices.size(), 3u);
        for (int k = 0; k < 3; ++k) ++edges[{p.indices[k], p.indices[(k + 1) % 3]}];
        const auto &a = m.points[p.indices[0]], &b = m.points[p.indices[1]], &c = m.points[p.indices[2]];
        double cross[3] = {double(b[1]) * c[2] - double(b[2]) * c[1], double(b[2]) * c[0] - double(b[0]) * c[2],
                           double(b[0]) * c[1] - double(b[1]) * c[0]};
        volume[p.surface] += (a[0] * cross[0] + a[1] * cross[1] + a[2] * cross[2]) / 6.0;
    }
    for (const auto& [edge, count] : edges) {
        EXPECT_EQ(count, 1) << "edge " << edge.first << "-" << edge.second << " repeated";
        auto reverse = edges.find({edge.second, edge.first});
        EXPECT_TRUE(reverse != edges.end() && reverse->second == 1) << "edge " << edge.first << "-" << edge.second << " is open";
    }
    ASSERT_EQ(volume.size(), 2u);
    EXPECT_GT(volume[1], 1000.0) << "the meat";
    EXPECT_GT(volume[2], 10.0) << "the spit";
    ASSERT_TRUE(m.surfaces[0].colourTexture.has_value());
    EXPECT_EQ(m.surfaces[0].colourTexture->imageName, "data/kebab/kebabtxt.pxc");
    EXPECT_EQ(m.surfaces[0].colourTexture->typeName, "Planar Image Map");
}
