// One test for each fault fuzzing found, on the input it was found with, asserting the
// sound behaviour that replaced it.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/FileBytes.h"

#if __has_include("raster/AffineWalk.h")
#include "core/Bitmap.h"
#include "raster/AffineWalk.h"
#include "raster/RenderDriver.h"
#include "raster/RenderPolygon.h"
#define HAVE_RASTER 1
#endif
#if __has_include("audio/StreamDecoder.h")
#include "audio/StreamDecoder.h"
#define HAVE_STREAM_DECODER 1
#endif

namespace {

std::vector<uint8_t> keptInput(const std::string& name) {
    const std::string path = std::string(TEST_SOURCE_DIR "/tests/regression/") + name;
    std::vector<uint8_t> bytes = readFileBytes(path);
    EXPECT_FALSE(bytes.empty()) << path << " is missing";
    return bytes;
}

}  // namespace

#ifdef HAVE_STREAM_DECODER
// A WAV declaring 1 Hz: resampling its 32768 samples to 44100 Hz asked for 5.8 GB.
TEST(FuzzFindings, WavWithATinySampleRateIsRefused) {
    std::vector<uint8_t> file = keptInput("music/wav_rate_1hz_huge_resample");
    ASSERT_GT(file.size(), 3u);
    std::vector<int16_t> stereo;
    EXPECT_FALSE(decodeStream(file.data() + 3, file.size() - 3, stereo));  // after the flag bytes
    EXPECT_TRUE(stereo.empty());
}

// The same file at a plain rate still plays: only the rate made it hostile.
TEST(FuzzFindings, WavAtALowButRealRateStillPlays) {
    std::vector<uint8_t> file = keptInput("music/wav_rate_1hz_huge_resample");
    ASSERT_GT(file.size(), 3u + 28);
    std::vector<uint8_t> wav(file.begin() + 3, file.end());
    const uint32_t rate = 8000, byteRate = 16000;
    for (int i = 0; i < 4; ++i) {
        wav[24 + i] = uint8_t(rate >> (8 * i));
        wav[28 + i] = uint8_t(byteRate >> (8 * i));
    }
    std::vector<int16_t> stereo;
    ASSERT_TRUE(decodeStream(wav.data(), wav.size(), stereo));
    EXPECT_EQ(stereo.size(), size_t(32768) * 44100 / 8000 * 2);
}
#endif

#ifdef HAVE_RASTER
namespace {

constexpr int32_t kWidth = 512, kHeight = 384;

// Screen x, y and depth of three vertices as the affine walk reads them.
AffineTriangle<0> screenTriangle(float x0, float y0, float x1, float y1, float x2, float y2) {
    const float points[9] = {x0, x1, x2, y0, y1, y2, 2, 2, 2};
    return makeAffineTriangle<0>(points, [](int, int) { return 0; });
}

struct WalkedRow {
    int32_t y, firstX, secondX;
};

std::vector<WalkedRow> walk(const AffineTriangle<0>& triangle) {
    std::vector<WalkedRow> rows;
    walkAffineTriangle(triangle, kHeight, [&](int32_t y, const AffineEdge<0>& first, const AffineEdge<0>& second) {
        rows.push_back({y, first.x, second.x});
    });
    return rows;
}

}  // namespace

// An object put a vertex two billion rows above the screen: the walk stepped every row
// (minutes for one triangle). The edges now jump and land where the steps would have.
TEST(FuzzFindings, AffineWalkJumpsOverRowsFarAboveAndLandsOnTheSteppedEdges) {
    const AffineTriangle<0> t = screenTriangle(256, -2.0e9f, 100, 300, 400, 200);
    ASSERT_LT(t.top, -1000000000);
    std::vector<WalkedRow> rows = walk(t);
    ASSERT_FALSE(rows.empty());
    EXPECT_LE(rows.size(), size_t(kMaxSteppedRowsAbove + kHeight));
    EXPECT_EQ(rows.back().y, kHeight - 1 < t.bottom - 1 ? kHeight - 1 : t.bottom - 1);

    // Rows 0 .. mid - 1 lie between the upper edge a->b and the long edge a->c, both
    // stepped from vertex a; rows from mid on between b->c and the long edge.
    const int64_t longRows = int64_t(t.bottom) - t.top, upperRows = int64_t(t.mid) - t.top;
    const int32_t longStep = stepOver(t.a.x, t.c.x, longRows);
    const int32_t upperStep = stepOver(t.a.x, t.b.x, upperRows);
    const int32_t lowerStep = stepOver(t.b.x, t.c.x, int64_t(t.bottom) - t.mid);
    size_t checked = 0;
    for (const WalkedRow& row : rows) {
        if (row.y < 0) continue;
        const int64_t fromTop = int64_t(row.y) - t.top;
        const int32_t expectedFirst = row.y < t.mid ? advanceBy(t.a.x, upperStep, fromTop)
                                                    : advanceBy(t.b.x, lowerStep, int64_t(row.y) - t.mid);
        ASSERT_EQ(row.firstX, expectedFirst) << "row " << row.y;
        ASSERT_EQ(row.secondX, advanceBy(t.a.x, longStep, fromTop)) << "row " << row.y;
        ++checked;
    }
    EXPECT_EQ(checked, size_t(t.bottom < kHeight ? t.bottom : kHeight));
}

// The same when the middle vertex is far above too: the jump lands in the lower half.
TEST(FuzzFindings, AffineWalkJumpPastTheMiddleRowStartsTheLowerEdgeWhereStepsWould) {
    const AffineTriangle<0> t = screenTriangle(256, -2.0e9f, 10, -1.0e9f, 400, 300);
    ASSERT_LT(t.mid, -kMaxSteppedRowsAbove);
    std::vector<WalkedRow> rows = walk(t);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front().y, -kMaxSteppedRowsAbove);
    const int32_t longStep = stepOver(t.a.x, t.c.x, int64_t(t.bottom) - t.top);
    const int32_t lowerStep = stepOver(t.b.x, t.c.x, int64_t(t.bottom) - t.mid);
    for (const WalkedRow& row : rows) {
        ASSERT_EQ(row.firstX, advanceBy(t.b.x, lowerStep, int64_t(row.y) - t.mid)) << row.y;
        ASSERT_EQ(row.secondX, advanceBy(t.a.x, longStep, int64_t(row.y) - t.top)) << row.y;
    }
}

// Rows close above the screen are still stepped one by one, as before.
TEST(FuzzFindings, AffineWalkStepsRowsNearTheScreen) {
    const AffineTriangle<0> t = screenTriangle(256, -100, 100, 300, 400, 200);
    std::vector<WalkedRow> rows = walk(t);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front().y, -100);
}

// The perspective walk had the same fault: the hostile triangle is drawn, its visible part
// where it belongs, and the frame outside it is left alone.
TEST(FuzzFindings, PerspectiveFillDrawsATriangleReachingFarAboveTheScreen) {
    Bitmap frame(kWidth, kHeight);
    NewRenderDriver driver(&frame);
    driver.clearDepth();
    std::vector<uint32_t> texture(256 * 256, 0x00123456u);
    float points[9];
    float coords[6] = {0, 255, 0, 0, 0, 255};
    const float z = 2.0f;
    auto place = [&](int i, float xs, float ys) {  // screen position to camera space
        points[i] = (xs - kWidth / 2) * z / kWidth;
        points[3 + i] = (kHeight / 2 - ys) * z / kWidth;
        points[6 + i] = z;
    };
    place(0, 256, -1.0e9f);
    place(1, 400, 300);
    place(2, 100, 300);
    RenderPolygon polygon;
    polygon.points = points;
    polygon.imageCoords = coords;
    polygon.image = texture.data();
    polygon.kind = 33;
    driver.drawPerspective(&polygon, &frame, 1);
    EXPECT_EQ(frame.pixels[250 * kWidth + 256] & 0xFFFFFFu, 0x123456u);
    EXPECT_EQ(frame.pixels[250 * kWidth + 20], 0u);
    EXPECT_EQ(frame.pixels[350 * kWidth + 256], 0u);
}
#endif
