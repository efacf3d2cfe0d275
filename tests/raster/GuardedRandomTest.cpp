#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "RasterTestSupport.h"

// Thousands of seeded random triangles, many far off screen, huge, degenerate or behind the
// camera, thrown at every fill operation with frame, depth buffer and textures between
// inaccessible pages: one pixel written or read too far ends the test with a fault. The
// same triangles, case by case, give every operation and mode a CRC of what it drew.

namespace {

using FillOperation = void (NewRenderDriver::*)(RenderPolygon*, Bitmap*, int32_t);

struct NamedOperation {
    const char* name;
    FillOperation operation;
    bool affine;  // affine fillers never write the last column
};

const NamedOperation kOperations[] = {
    {"drawFlat", &NewRenderDriver::drawFlat, true},
    {"drawTextured", &NewRenderDriver::drawTextured, true},
    {"drawImageEnv", &NewRenderDriver::drawImageEnv, true},
    {"drawTranspMapped", &NewRenderDriver::drawTranspMapped, true},
    {"drawBumpEnv", &NewRenderDriver::drawBumpEnv, true},
    {"drawImageBumpEnv", &NewRenderDriver::drawImageBumpEnv, true},
    {"drawTexturedShaded", &NewRenderDriver::drawTexturedShaded, true},
    {"drawShaded", &NewRenderDriver::drawShaded, true},
    {"drawPerspective", &NewRenderDriver::drawPerspective, false},
    {"drawPerspectiveKeyed", &NewRenderDriver::drawPerspectiveKeyed, false},
    {"drawPerspectiveNoDepth", &NewRenderDriver::drawPerspectiveNoDepth, false},
    {"drawPerspectiveFogNoDepth", &NewRenderDriver::drawPerspectiveFogNoDepth, false},
    {"drawPerspectiveFog", &NewRenderDriver::drawPerspectiveFog, false},
};

constexpr uint32_t kSentinel = 0x5A5A5A5Au;

// Triangles for a target of the given size, reaching up to 300 / 512 of its width past
// each edge, some far off.
class RandomTriangles {
public:
    explicit RandomTriangles(uint32_t seed, int32_t width = kFrameWidth, int32_t height = kFrameHeight)
        : random_(seed), width_(width), height_(height), margin_(static_cast<float>(width * 300 / 512)) {}

    float uniform(float low, float high) { return std::uniform_real_distribution<float>(low, high)(random_); }
    uint32_t below(uint32_t n) { return static_cast<uint32_t>(random_() % n); }

    float screenX() { return screenCoordinate(-margin_, static_cast<float>(width_) + margin_); }
    float screenY() { return screenCoordinate(-margin_, static_cast<float>(height_) + margin_); }

    float depth() {
        switch (below(10)) {
            case 0: return uniform(-50, -0.01f);  // behind the camera: the clip would have cut it
            case 1: return uniform(1e-4f, 0.05f);
            default: return uniform(1, 500);
        }
    }

    float coordinate() {
        switch (below(8)) {
            case 0: return uniform(-1e7f, 1e7f);  // beyond the 16.16 range
            case 1: return uniform(-0.5f, 0.5f);
            default: return uniform(-2000, 2000);
        }
    }

    uint32_t pixel() {
        const uint32_t pick = below(4);
        return pick == 0 ? 0u : pick == 1 ? 0xFFFFFFFFu : static_cast<uint32_t>(random_());
    }

    void fill(TestPolygon& p) {
        // Occasionally a vertex repeats another or all three share a row or a column.
        float xs[3], ys[3];
        for (int i = 0; i < 3; ++i) {
            xs[i] = screenX();
            ys[i] = screenY();
        }
        if (below(10) == 0) xs[2] = xs[below(2)];
        if (below(10) == 0) ys[1] = ys[2] = ys[0];
        for (int i = 0; i < 3; ++i) p.screenVertex(i, xs[i], ys[i], depth(), width_, height_);
        for (float* coords : {p.imageCoords, p.envCoords, p.bumpCoords})
            for (int k = 0; k < 6; ++k) coords[k] = coordinate();
        for (int32_t& s : p.shade) s = below(16) == 0 ? static_cast<int32_t>(random_()) : static_cast<int32_t>(below(256));
        static const uint8_t modes[] = {0, 0, 8, 36, 3};
        p.polygon.mode = modes[below(5)];
        static const uint8_t levels[] = {0, 127, 128, 255, 17, 200};
        p.polygon.level = levels[below(6)];
        p.polygon.colour = pixel();
    }

private:
    float screenCoordinate(float low, float high) {
        switch (below(12)) {
            case 0: return uniform(-20000, 20000);  // huge or far off screen
            case 1: return std::floor(uniform(low, high)) + 0.5f * static_cast<float>(below(3));
            default: return uniform(low, high);
        }
    }

    std::mt19937 random_;
    int32_t width_, height_;
    float margin_;
};

TEST(GuardedRandomTriangles, NoFillOperationTouchesMemoryOutsideItsBuffers) {
    GuardedFrame frame;
    GuardedDriver driver;
    GuardedTexture image, envMap, bumpMap, transpMap;
    driver->fogNear = 0.2f;
    driver->fogFar = 0.01f;
    driver->fogRange = 0.19f;
    for (const NamedOperation& op : kOperations) {
        frame.memory.fill(kSentinel);
        driver.depth.fill(0);
        RandomTriangles random(1000u + static_cast<uint32_t>(&op - kOperations));
        for (GuardedTexture* t : {&image, &envMap, &bumpMap, &transpMap})
            for (int i = 0; i < 65536; ++i) t->texels[i] = random.pixel();
        size_t drawn = 0;
        for (int n = 0; n < 3000; ++n) {
            TestPolygon p;
            random.fill(p);
            p.polygon.image = image.data();
            p.polygon.envMap = envMap.data();
            p.polygon.bumpMap = bumpMap.data();
            p.polygon.transpMap = transpMap.data();
            driver->fogColour = random.below(2) == 0 ? 0u : random.pixel();
            (driver.driver->*op.operation)(p.get(), &frame.bitmap, static_cast<int32_t>(n & 255));
        }
        for (size_t i = 0; i < frame.memory.size(); ++i) drawn += frame.memory[i] != kSentinel ? 1 : 0;
        EXPECT_GT(drawn, 10000u) << op.name;  // the triangles did reach the frame
        if (op.affine) {
            for (int y = 0; y < kFrameHeight; ++y) ASSERT_EQ(frame.at(kFrameWidth - 1, y), kSentinel) << op.name << y;
        }
    }
}

TEST(GuardedRandomTriangles, SpritesStayInsideTheTarget) {
    GuardedFrame frame;
    GuardedDriver driver;
    GuardedBuffer<uint32_t> narrowMemory(100 * 80);
    Bitmap narrow;
    narrow.pixels = narrowMemory.data();
    narrow.width = 100;
    narrow.height = 80;
    GuardedBuffer<uint32_t> wideTexels(256 * 256), smallTexels(64 * 64);
    Bitmap widePicture, smallPicture;
    widePicture.pixels = wideTexels.data();
    widePicture.width = widePicture.height = 256;
    smallPicture.pixels = smallTexels.data();
    smallPicture.width = smallPicture.height = 64;
    wideTexels.fill(0x01010101u);
    smallTexels.fill(0x01010101u);
    frame.memory.fill(0);
    narrowMemory.fill(0);

    RandomTriangles random(77);
    for (int n = 0; n < 20000; ++n) {
        SpriteRecord sprite;
        sprite.picture = random.below(2) == 0 ? &widePicture : &smallPicture;
        sprite.sizeX = random.uniform(0, 50);
        sprite.sizeY = random.uniform(0, 50);
        sprite.x = random.uniform(-100, 100);
        sprite.y = random.uniform(-100, 100);
        sprite.z = random.uniform(-1, 100);
        driver->drawSprite(&sprite, random.below(8) == 0 ? &narrow : &frame.bitmap, n & 255);
    }
    size_t drawn = 0;
    for (size_t i = 0; i < frame.memory.size(); ++i) drawn += frame.memory[i] != 0 ? 1 : 0;
    EXPECT_GT(drawn, 10000u);
    narrow.pixels = nullptr;
    widePicture.pixels = nullptr;
    smallPicture.pixels = nullptr;
}

// Every operation in each mode draws the seeded cases, each over a fresh target and depth
// buffer; a CRC of both after each case is chained into one value per operation and mode
// and compared with tests/golden/fill_crcs.txt, so any change of arithmetic in any
// operation shows. UPDATE_GOLDEN=1 rewrites the file. FILL_CRC_CASES=N or N-M replays only
// those cases and prints each one's CRCs: run it in a passing and a failing build to find
// the first case that differs, then replay that case alone.
constexpr int32_t kCrcWidth = 128, kCrcHeight = 96;
constexpr uint32_t kCrcCases = 200;
const uint8_t kCrcModes[] = {0, 8, 36};
const std::string kFillCrcFile = std::string(TEST_SOURCE_DIR) + "/tests/golden/fill_crcs.txt";

// What one case starts from, all drawn from its seed.
struct CrcCase {
    std::vector<uint32_t> pixels;
    std::vector<float> depth;
    int32_t stamp = 0;
    float fogNear = 0, fogFar = 0;
    uint32_t fogColour = 0;
    uint32_t triangleSeed = 0;
    int32_t triangles = 0;

    explicit CrcCase(uint32_t seed) {
        RandomTriangles random(seed, kCrcWidth, kCrcHeight);
        stamp = static_cast<int32_t>(random.below(256));
        const float base = static_cast<float>(stamp);
        for (int32_t i = 0; i < kCrcWidth * kCrcHeight; ++i) {
            pixels.push_back(random.pixel());
            // Empty, older, this frame's and newer keys, so that depth tests go both ways.
            const uint32_t age = random.below(4);
            depth.push_back(age == 0 ? 0.0f : base + static_cast<float>(age) - 2.0f + random.uniform(0, 1));
        }
        fogNear = random.uniform(0.05f, 1);
        fogFar = random.uniform(0, fogNear);
        fogColour = random.below(2) == 0 ? 0u : random.pixel();
        triangleSeed = static_cast<uint32_t>(random.below(0x7FFFFFFF));
        triangles = 1 + static_cast<int32_t>(random.below(8));
    }
};

struct CrcRig {
    GuardedFrame frame{kCrcWidth, kCrcHeight};
    GuardedDriver driver{kCrcWidth, kCrcHeight};
    GuardedTexture image, envMap, bumpMap, transpMap;

    CrcRig() {
        RandomTriangles random(0);
        for (GuardedTexture* t : {&image, &envMap, &bumpMap, &transpMap})
            for (int i = 0; i < 65536; ++i) t->texels[i] = random.pixel();
    }

    // Draws the case with the mode set on every triangle; the CRC of target and depth buffer.
    uint32_t draw(const CrcCase& start, const NamedOperation& op, uint8_t mode) {
        std::copy(start.pixels.begin(), start.pixels.end(), frame.memory.data());
        std::copy(start.depth.begin(), start.depth.end(), driver.depth.data());
        driver->fogNear = start.fogNear;
        driver->fogFar = start.fogFar;
        driver->fogRange = start.fogNear - start.fogFar;
        driver->fogColour = start.fogColour;
        RandomTriangles random(start.triangleSeed, kCrcWidth, kCrcHeight);
        for (int32_t n = 0; n < start.triangles; ++n) {
            TestPolygon p;
            random.fill(p);
            p.polygon.mode = mode;
            p.polygon.image = image.data();
            p.polygon.envMap = envMap.data();
            p.polygon.bumpMap = bumpMap.data();
            p.polygon.transpMap = transpMap.data();
            (driver.driver->*op.operation)(p.get(), &frame.bitmap, start.stamp);
        }
        uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(frame.memory.data()),
                          static_cast<uInt>(frame.memory.size() * sizeof(uint32_t)));
        crc = crc32(crc, reinterpret_cast<const Bytef*>(driver.depth.data()),
                    static_cast<uInt>(driver.depth.size() * sizeof(float)));
        return static_cast<uint32_t>(crc);
    }
};

std::map<std::string, uint32_t> readFillCrcs() {
    std::map<std::string, uint32_t> crcs;
    std::ifstream file(kFillCrcFile);
    std::string line, name, mode, crc;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        if (fields >> name >> mode >> crc) crcs[name + " " + mode] = static_cast<uint32_t>(std::stoul(crc, nullptr, 16));
    }
    return crcs;
}

TEST(GuardedRandomTriangles, EveryOperationAndModeKeepsItsCrc) {
    uint32_t first = 0, last = kCrcCases - 1;
    const char* replay = std::getenv("FILL_CRC_CASES");
    if (replay && std::sscanf(replay, "%u-%u", &first, &last) == 1) last = first;
    CrcRig rig;
    std::vector<std::pair<std::string, uint32_t>> crcs;
    for (const NamedOperation& op : kOperations)
        for (uint8_t mode : kCrcModes) crcs.emplace_back(std::string(op.name) + " " + std::to_string(mode), 0u);
    for (uint32_t seed = first; seed <= last; ++seed) {
        const CrcCase start(seed);
        auto chained = crcs.begin();
        for (const NamedOperation& op : kOperations)
            for (uint8_t mode : kCrcModes) {
                const uint32_t crc = rig.draw(start, op, mode);
                if (replay) std::printf("case %u %s %08x\n", seed, chained->first.c_str(), crc);
                chained->second = static_cast<uint32_t>(
                    crc32(chained->second, reinterpret_cast<const Bytef*>(&crc), sizeof crc));
                ++chained;
            }
    }
    if (replay) GTEST_SKIP() << "replayed cases " << first << " to " << last << "; nothing compared";

    const char* update = std::getenv("UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        std::ofstream file(kFillCrcFile);
        file << "# Chained CRC-32 of target and depth buffer after each of " << kCrcCases
             << " seeded cases, per fill operation and mode.\n"
                "# Written by: UPDATE_GOLDEN=1 <build>/tests/test_raster --gtest_filter='*KeepsItsCrc'\n"
                "# operation mode crc32\n";
        char hex[16];
        for (const auto& [key, crc] : crcs) {
            std::snprintf(hex, sizeof hex, "%08x", crc);
            file << key << ' ' << hex << '\n';
        }
        ASSERT_TRUE(file.good()) << "could not write " << kFillCrcFile;
        return;
    }
    const std::map<std::string, uint32_t> stored = readFillCrcs();
    ASSERT_EQ(stored.size(), crcs.size()) << "no or incomplete CRCs in " << kFillCrcFile;
    for (const auto& [key, crc] : crcs) {
        auto found = stored.find(key);
        ASSERT_NE(found, stored.end()) << key << " missing from " << kFillCrcFile;
        EXPECT_EQ(found->second, crc) << key << ": what it draws changed. FILL_CRC_CASES=0-" << kCrcCases - 1
                                      << " prints every case's CRC; the first that differs from a passing "
                                         "build replays alone with FILL_CRC_CASES=<case>";
    }
}

}  // namespace
