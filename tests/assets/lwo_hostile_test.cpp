// Damaged object files: every case must end cleanly, read nothing outside the data and
// keep what can be kept. Run these under AddressSanitizer as well.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "LwoTestSupport.h"
#include "LwobBlob.h"
#include "engine/MeshSurfaceObject.h"
#include "engine/Surface.h"
#include "engine/SurfacePolygon.h"

namespace {

std::unique_ptr<LwoObject> parseQuietly(const std::vector<uint8_t>& blob, bool* parsed = nullptr) {
    LwoReader reader;
    testing::internal::CaptureStdout();
    const bool result = reader.parseObject(blob.data(), blob.size());
    testing::internal::GetCapturedStdout();
    if (parsed) *parsed = result;
    return std::move(reader.object);
}

TEST(LwoHostile, ChunksRunningPastTheDataEndParsing) {
    LwobBlob chunks;
    chunks.points({{1, 2, 3}});
    chunks.id("PNTS").u32(1000).vec(4, 5, 6);   // says 1000, holds 12
    bool parsed = false;
    auto object = parseQuietly(chunks.form(), &parsed);
    EXPECT_TRUE(parsed);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->pointCount(), 1);

    // A FORM length far beyond the data, and a cut-off chunk header.
    std::vector<uint8_t> blob = LwobBlob().points({{1, 1, 1}}).form();
    blob[4] = blob[5] = blob[6] = blob[7] = 0xFF;
    blob.insert(blob.end(), {'P', 'O', 'L'});
    object = parseQuietly(blob);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->pointCount(), 1);

    // Shorter than a header, or a form length below the form type.
    EXPECT_EQ(parseQuietly({'F', 'O', 'R', 'M'}, &parsed), nullptr);
    EXPECT_FALSE(parsed);
    blob = LwobBlob().points({{1, 1, 1}}).form();
    blob[7] = 2;
    object = parseQuietly(blob);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->pointCount(), 0);
}

TEST(LwoHostile, FileWithWildFormLengthReadsWhatIsThere) {
    std::vector<uint8_t> blob = LwobBlob().points({{1, 2, 3}, {4, 5, 6}}).form();
    blob[4] = blob[5] = blob[6] = blob[7] = 0xFF;
    const std::string path = std::string(TEST_BINARY_DIR) + "/lwo_hostile_wild_length.lwo";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(blob.data(), 1, blob.size(), file);
    std::fclose(file);

    LwoReader reader;
    testing::internal::CaptureStdout();
    reader.readObject(path.c_str());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "found 2 vertices \n");
    ASSERT_NE(reader.object, nullptr);
    EXPECT_EQ(reader.object->points[1].z, 6.0);
}

TEST(LwoHostile, DamagedPolygonsAreSkipped) {
    LwobBlob chunks;
    chunks.points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}})
        .surface("Only", LwobBlob())
        .polygons({{0, 1, 2, 1},        // kept
                   {0, 1, 99, 1},       // no point 99
                   {0, 1, 1},           // two corners
                   {0, 1, 2, 0},        // surface 0
                   {0, 1, 2, 2},        // surface beyond the one there is
                   {1}});               // no corners at all
    std::vector<uint8_t> blob = chunks.form();
    ReaderRun run = readBlob(blob, nullptr);
    ASSERT_EQ(run.mesh->polygonCount, 1);
    EXPECT_EQ(run.mesh->polygons[0]->vertices[2], run.mesh->viewVertex(2));
    EXPECT_NE(run.buildOutput.find("poly iteration 5\n"), std::string::npos);
    destroyQuietly(run.mesh);

    LwobBlob cut;
    cut.points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}).surface("Only", LwobBlob());
    cut.chunk("POLS", LwobBlob().u16(3).u16(0).u16(1).u16(2).u16(1).u16(40).u16(0));
    auto object = parseQuietly(cut.form());
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->polygonCount(), 1);
}

TEST(LwoHostile, SurfaceLimitsAndNames) {
    LwobBlob chunks;
    for (int i = 0; i < 130; ++i) chunks.surface("S" + std::to_string(i), LwobBlob());
    const std::string longName(300, 'n');
    chunks.surface(longName, LwobBlob::colour(1, 1, 1));
    auto object = parseQuietly(chunks.form());
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->surfaceCount(), LwoObject::MaxSurfaces);

    object = parseQuietly(LwobBlob().surface(longName, LwobBlob::colour(1, 2, 3)).form());
    ASSERT_EQ(object->surfaceCount(), 1);
    EXPECT_EQ(std::string(object->surfaces[0]->name), std::string(255, 'n'));
    EXPECT_EQ(object->surfaces[0]->colour, 0x010203u);   // the sub-chunks after it still parse

    // A name without a terminator fills the chunk and leaves no sub-chunks.
    LwobBlob unterminated;
    unterminated.chunk("SURF", LwobBlob().id("ABCD"));
    object = parseQuietly(unterminated.form());
    ASSERT_EQ(object->surfaceCount(), 1);
    EXPECT_STREQ(object->surfaces[0]->name, "ABCD");
}

TEST(LwoHostile, DamagedSubChunksEndTheSurface) {
    const auto parseSurface = [](const LwobBlob& subChunks, std::string* output) {
        LwoReader reader;
        const std::vector<uint8_t> blob = LwobBlob().surface("Bad", subChunks).form();
        testing::internal::CaptureStdout();
        reader.parseObject(blob.data(), blob.size());
        *output = testing::internal::GetCapturedStdout();
        return reader.object->surfaces[0]->colour;
    };
    std::string output;
    // Negative length, then a length past the chunk: both end the loop before acting.
    EXPECT_EQ(parseSurface(LwobBlob().id("COLR").u16(0xFFFE).u32(0x01020300), &output), 0u);
    EXPECT_NE(output.find("called COLR \noutside \n"), std::string::npos) << output;
    EXPECT_EQ(parseSurface(LwobBlob().id("COLR").u16(40).u32(0x01020300), &output), 0u);
    // Too short for its value: skipped, the next sub-chunk still read.
    EXPECT_EQ(parseSurface(LwobBlob().subChunk("COLR", LwobBlob().u8(7)).append(LwobBlob::colour(4, 5, 6)),
                           &output),
              0x040506u);
    // Fewer than six bytes left for a header.
    EXPECT_EQ(parseSurface(LwobBlob().append(LwobBlob::colour(1, 2, 3)).u16(0x4242), &output), 0x010203u);
    EXPECT_NE(output.find("in while loop iteration 1 \noutside \n"), std::string::npos) << output;
}

TEST(LwoHostile, NonFinitePointsBecomeZero) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    auto object = parseQuietly(LwobBlob().points({{nan, 2, inf}}).form());
    ASSERT_EQ(object->pointCount(), 1);
    EXPECT_EQ(object->points[0].x, 0.0);
    EXPECT_EQ(object->points[0].y, 2.0);
    EXPECT_EQ(object->points[0].z, 0.0);
}

// Seeded random damage to a valid object: flipped bytes and cut tails. The case number
// is the seed; a failure names it.
TEST(LwoHostile, RandomDamageNeverCrashes) {
    LwobBlob chunks;
    chunks.points({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 1}})
        .surface("Skin", LwobBlob::colour(1, 2, 3).subChunk("TRAN", LwobBlob().u16(3))
                             .subChunk("TTEX", LwobBlob().text("Planar Image Map", true))
                             .subChunk("TSIZ", LwobBlob().vec(0, 1, 1)))
        .surface("Bone", LwobBlob())
        .polygons({{0, 1, 2, 1}, {1, 2, 3, 0, 2}, {3, 2, 1, 1}});
    const std::vector<uint8_t> original = chunks.form();
    for (uint32_t seed = 0; seed < 400; ++seed) {
        std::mt19937 random(seed);
        std::vector<uint8_t> blob = original;
        const int flips = 1 + random() % 6;
        for (int i = 0; i < flips; ++i) {
            // Bias towards the extremes that lengths and counts turn into.
            const uint32_t pick = random() % 3;
            blob[random() % blob.size()] = pick == 0 ? 0x00 : pick == 1 ? 0xFF : random() & 0xFF;
        }
        if (random() % 4 == 0) blob.resize(random() % blob.size());
        ReaderRun run = readBlob(blob, nullptr);
        ASSERT_NE(run.mesh, nullptr) << "case " << seed;
        EXPECT_LE(run.mesh->vertexCount, 4) << "case " << seed;
        for (int32_t i = 0; i < run.mesh->polygonCount; ++i)
            for (int k = 0; k < 3; ++k)
                ASSERT_NE(run.mesh->polygons[i]->vertices[k], nullptr) << "case " << seed;
        destroyQuietly(run.mesh);
    }
}

}  // namespace
