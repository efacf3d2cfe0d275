// Whole-frame Bitmap operations beside memcpy and pixman on the same buffers.

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstring>
#include <random>

#include "BenchSummary.h"
#include "core/Bitmap.h"
#include "core/PixelOps.h"

namespace {
constexpr int32_t kWidth = 512;
constexpr int32_t kHeight = 384;
constexpr size_t kFramePixels = size_t{kWidth} * kHeight;

struct Frames {
    Bitmap source{kWidth, kHeight};
    Bitmap other{kWidth, kHeight};
    Bitmap target{kWidth, kHeight};
    Bitmap texture{256, 256};
    pixman_image_t* sourceImage;
    pixman_image_t* targetImage;

    Frames() {
        std::mt19937 random(1);
        for (Bitmap* bitmap : {&source, &other, &target, &texture})
            for (int32_t i = 0; i < bitmap->width * bitmap->height; ++i) bitmap->pixels[i] = random();
        sourceImage = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, source.pixels, kWidth * 4);
        targetImage = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, target.pixels, kWidth * 4);
    }
};

// Made once and kept for the whole run, like the demo's own frames.
Frames& frames() {
    static Frames* shared = new Frames();
    return *shared;
}

void countFrames(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kFramePixels));
}

void BM_memcpy(benchmark::State& state) {
    Frames& f = frames();
    for (auto _ : state) {
        std::memcpy(f.target.pixels, f.source.pixels, kFramePixels * sizeof(uint32_t));
        benchmark::ClobberMemory();
    }
    countFrames(state);
}

void pixmanComposite(benchmark::State& state, pixman_op_t op) {
    Frames& f = frames();
    for (auto _ : state) {
        pixman_image_composite32(op, f.sourceImage, nullptr, f.targetImage, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
        benchmark::ClobberMemory();
    }
    countFrames(state);
}
void BM_pixmanSrc(benchmark::State& state) { pixmanComposite(state, PIXMAN_OP_SRC); }
void BM_pixmanAdd(benchmark::State& state) { pixmanComposite(state, PIXMAN_OP_ADD); }

void BM_copyInto(benchmark::State& state) {
    Frames& f = frames();
    for (auto _ : state) {
        f.source.copyInto(&f.target, 0, 0);
        benchmark::ClobberMemory();
    }
    countFrames(state);
}

// Offset placement: the clipped row-by-row path instead of one run.
void BM_copyIntoClipped(benchmark::State& state) {
    Frames& f = frames();
    for (auto _ : state) {
        f.source.copyInto(&f.target, 3, 2);
        benchmark::ClobberMemory();
    }
    countFrames(state);
}

void BM_addInto(benchmark::State& state) {
    Frames& f = frames();
    for (auto _ : state) {
        f.source.addInto(&f.target, 0, 0);
        benchmark::ClobberMemory();
    }
    countFrames(state);
}

void BM_addIntoClipped(benchmark::State& state) {
    Frames& f = frames();
    for (auto _ : state) {
        f.source.addInto(&f.target, 3, 2);
        benchmark::ClobberMemory();
    }
    countFrames(state);
}

void BM_addRowScalar(benchmark::State& state) {
    Frames& f = frames();
    for (auto _ : state) {
        addRowScalar(f.target.pixels, f.source.pixels, kFramePixels);
        benchmark::ClobberMemory();
    }
    countFrames(state);
}

void BM_blend(benchmark::State& state) {
    Frames& f = frames();
    for (auto _ : state) {
        f.target.blend(&f.source, &f.other, 100);
        benchmark::ClobberMemory();
    }
    countFrames(state);
}

void BM_blendRowScalar(benchmark::State& state) {
    Frames& f = frames();
    for (auto _ : state) {
        blendRowScalar(f.target.pixels, f.source.pixels, f.other.pixels, kFramePixels, 100);
        benchmark::ClobberMemory();
    }
    countFrames(state);
}

void BM_scaleInto(benchmark::State& state) {
    Frames& f = frames();
    for (auto _ : state) {
        f.texture.scaleInto(&f.target);
        benchmark::ClobberMemory();
    }
    countFrames(state);
}

void BM_copyToMemory(benchmark::State& state) {
    Frames& f = frames();
    for (auto _ : state) {
        f.source.copyToMemory(f.target.pixels);
        benchmark::ClobberMemory();
    }
    countFrames(state);
}
} // namespace

BENCHMARK(BM_memcpy);
BENCHMARK(BM_pixmanSrc);
BENCHMARK(BM_pixmanAdd);
BENCHMARK(BM_copyInto);
BENCHMARK(BM_copyIntoClipped);
BENCHMARK(BM_copyToMemory);
BENCHMARK(BM_addInto);
BENCHMARK(BM_addIntoClipped);
BENCHMARK(BM_addRowScalar);
BENCHMARK(BM_blend);
BENCHMARK(BM_blendRowScalar);
BENCHMARK(BM_scaleInto);

BENCH_RATIO("copyInto / memcpy", "BM_copyInto", "BM_memcpy", 1.2);
BENCH_RATIO("copyInto / pixman SRC", "BM_copyInto", "BM_pixmanSrc", 0);
BENCH_RATIO("copyInto clipped / memcpy", "BM_copyIntoClipped", "BM_memcpy", 0);
BENCH_RATIO("copyToMemory / memcpy", "BM_copyToMemory", "BM_memcpy", 0);
BENCH_RATIO("addInto / pixman ADD", "BM_addInto", "BM_pixmanAdd", 1.1);
BENCH_RATIO("addInto clipped / pixman ADD", "BM_addIntoClipped", "BM_pixmanAdd", 0);
BENCH_RATIO("add scalar / fast path", "BM_addRowScalar", "BM_addInto", 0);
BENCH_RATIO("blend / memcpy", "BM_blend", "BM_memcpy", 4.0);
BENCH_RATIO("blend scalar / fast path", "BM_blendRowScalar", "BM_blend", 0);
BENCH_RATIO("scaleInto / memcpy", "BM_scaleInto", "BM_memcpy", 0);
