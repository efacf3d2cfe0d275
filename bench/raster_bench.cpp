// Fill operations in pixels a second, each over the same fixed set of triangles.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "BenchSummary.h"
#include "core/Bitmap.h"
#include "raster/RenderDriver.h"
#include "raster/RenderPolygon.h"

namespace {
constexpr int32_t kWidth = 512;
constexpr int32_t kHeight = 384;
constexpr int kTriangles = 256;

using FillOperation = void (NewRenderDriver::*)(RenderPolygon*, Bitmap*, int32_t);

// One triangle in camera space with its coordinate sets; points are restored before every
// call because a fill operation overwrites them with screen coordinates.
struct BenchTriangle {
    float camera[9];
    float points[9];
    int32_t shade[9];
    float imageCoords[6], envCoords[6], bumpCoords[6];
};

struct Scene {
    Bitmap size;
    NewRenderDriver* driver;
    Bitmap frame{kWidth, kHeight};
    Bitmap image{256, 256}, envMap{256, 256}, bumpMap{256, 256}, transpMap{256, 256};
    std::vector<BenchTriangle> triangles{kTriangles};

    // Clockwise on screen, 20 to 120 pixels across, depth 3 to 40.
    Scene() {
        size.width = kWidth;
        size.height = kHeight;
        driver = new NewRenderDriver(&size);
        driver->fogNear = 0.2f;
        driver->fogFar = 0.03f;
        driver->fogRange = 0.17f;
        std::mt19937 random(5);
        auto uniform = [&random](float low, float high) { return std::uniform_real_distribution<float>(low, high)(random); };
        for (Bitmap* b : {&image, &envMap, &bumpMap, &transpMap})
            for (int i = 0; i < 65536; ++i) b->pixels[i] = random() | 0x01010101u;
        for (BenchTriangle& t : triangles) {
            const float cx = uniform(60, kWidth - 60), cy = uniform(60, kHeight - 60), radius = uniform(10, 60);
            const float z = uniform(3, 40), turn = uniform(0, 6.2832f);
            for (int i = 0; i < 3; ++i) {
                const float angle = turn + 2.0944f * static_cast<float>(i);
                const float xs = cx + radius * std::cos(angle), ys = cy + radius * std::sin(angle);
                t.camera[i] = (xs - kWidth / 2) * z / kWidth;
                t.camera[3 + i] = (kHeight / 2 - ys) * z / kWidth;
                t.camera[6 + i] = z * uniform(0.8f, 1.2f);
            }
            for (float* coords : {t.imageCoords, t.envCoords, t.bumpCoords})
                for (int k = 0; k < 6; ++k) coords[k] = uniform(-300, 300);
            for (int32_t& s : t.shade) s = static_cast<int32_t>(random() % 256);
        }
    }

    // Pixels that each triangle covers alone, summed over the set.
    int64_t coveredPixels(FillOperation operation, uint8_t mode, uint8_t level) {
        int64_t covered = 0;
        for (BenchTriangle& t : triangles) {
            std::memset(frame.pixels, 0, sizeof(uint32_t) * kWidth * kHeight);
            driver->clearDepth();
            draw(t, operation, mode, level, 1);
            for (int i = 0; i < kWidth * kHeight; ++i) covered += frame.pixels[i] != 0 ? 1 : 0;
        }
        return covered;
    }

    void draw(BenchTriangle& t, FillOperation operation, uint8_t mode, uint8_t level, int32_t stamp) {
        std::memcpy(t.points, t.camera, sizeof(t.points));
        RenderPolygon polygon;
        polygon.points = t.points;
        polygon.shade = t.shade;
        polygon.imageCoords = t.imageCoords;
        polygon.envCoords = t.envCoords;
        polygon.bumpCoords = t.bumpCoords;
        polygon.image = image.pixels;
        polygon.envMap = envMap.pixels;
        polygon.bumpMap = bumpMap.pixels;
        polygon.transpMap = transpMap.pixels;
        polygon.colour = 0x00406080u;
        polygon.mode = mode;
        polygon.level = level;
        (driver->*operation)(&polygon, &frame, stamp);
    }
};

Scene& scene() {
    static Scene* shared = new Scene();
    return *shared;
}

// Draws the whole set once per iteration; the stamp advances like the pipeline's and the
// depth buffer is cleared when it wraps.
void fillBenchmark(benchmark::State& state, FillOperation operation, uint8_t mode, uint8_t level) {
    Scene& s = scene();
    const int64_t pixels = s.coveredPixels(operation, mode, level);
    int32_t stamp = 0;
    s.driver->clearDepth();
    for (auto _ : state) {
        for (BenchTriangle& t : s.triangles) s.draw(t, operation, mode, level, stamp);
        benchmark::ClobberMemory();
        stamp = (stamp + 1) & 255;
        if (stamp == 0) s.driver->clearDepth();
    }
    state.SetItemsProcessed(state.iterations() * pixels);
}

void BM_drawFlat(benchmark::State& state) { fillBenchmark(state, &NewRenderDriver::drawFlat, 0, 0); }
void BM_drawFlatAdditive(benchmark::State& state) { fillBenchmark(state, &NewRenderDriver::drawFlat, 8, 0); }
void BM_drawTextured(benchmark::State& state) { fillBenchmark(state, &NewRenderDriver::drawTextured, 0, 0); }
void BM_drawTexturedAdditive(benchmark::State& state) { fillBenchmark(state, &NewRenderDriver::drawTextured, 8, 0); }
void BM_drawTexturedHalf(benchmark::State& state) { fillBenchmark(state, &NewRenderDriver::drawTextured, 36, 128); }
void BM_drawTexturedLevel(benchmark::State& state) { fillBenchmark(state, &NewRenderDriver::drawTextured, 36, 100); }
void BM_drawImageEnv(benchmark::State& state) { fillBenchmark(state, &NewRenderDriver::drawImageEnv, 0, 0); }
void BM_drawTranspMapped(benchmark::State& state) { fillBenchmark(state, &NewRenderDriver::drawTranspMapped, 0, 0); }
void BM_drawBumpEnv(benchmark::State& state) { fillBenchmark(state, &NewRenderDriver::drawBumpEnv, 0, 0); }
void BM_drawImageBumpEnv(benchmark::State& state) { fillBenchmark(state, &NewRenderDriver::drawImageBumpEnv, 0, 0); }
void BM_drawTexturedShaded(benchmark::State& state) { fillBenchmark(state, &NewRenderDriver::drawTexturedShaded, 0, 0); }
void BM_drawShaded(benchmark::State& state) { fillBenchmark(state, &NewRenderDriver::drawShaded, 0, 0); }
void BM_drawPerspective(benchmark::State& state) { fillBenchmark(state, &NewRenderDriver::drawPerspective, 0, 0); }
void BM_drawPerspectiveKeyed(benchmark::State& state) { fillBenchmark(state, &NewRenderDriver::drawPerspectiveKeyed, 0, 0); }
void BM_drawPerspectiveNoDepth(benchmark::State& state) {
    fillBenchmark(state, &NewRenderDriver::drawPerspectiveNoDepth, 0, 0);
}
void BM_drawPerspectiveFogNoDepth(benchmark::State& state) {
    fillBenchmark(state, &NewRenderDriver::drawPerspectiveFogNoDepth, 0, 0);
}
void BM_drawPerspectiveFog(benchmark::State& state) { fillBenchmark(state, &NewRenderDriver::drawPerspectiveFog, 0, 0); }

BENCHMARK(BM_drawFlat);
BENCHMARK(BM_drawFlatAdditive);
BENCHMARK(BM_drawTextured);
BENCHMARK(BM_drawTexturedAdditive);
BENCHMARK(BM_drawTexturedHalf);
BENCHMARK(BM_drawTexturedLevel);
BENCHMARK(BM_drawImageEnv);
BENCHMARK(BM_drawTranspMapped);
BENCHMARK(BM_drawBumpEnv);
BENCHMARK(BM_drawImageBumpEnv);
BENCHMARK(BM_drawTexturedShaded);
BENCHMARK(BM_drawShaded);
BENCHMARK(BM_drawPerspective);
BENCHMARK(BM_drawPerspectiveKeyed);
BENCHMARK(BM_drawPerspectiveNoDepth);
BENCHMARK(BM_drawPerspectiveFogNoDepth);
BENCHMARK(BM_drawPerspectiveFog);

BENCH_RATIO("perspective / affine textured", "BM_drawPerspective", "BM_drawTextured", 0);
}  // namespace
