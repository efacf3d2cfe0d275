// Per-frame cost of the 2D parts and their image effects on a 512 x 384 frame. The parts
// get solid pictures of their real sizes in place of their data files.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "BenchSummary.h"
#include "core/Bitmap.h"
#include "parts/CredsPart.h"
#include "parts/FetdelPart.h"
#include "parts/ForortPart.h"
#include "parts/ForstaPart.h"
#include "parts/FrameFill.h"
#include "parts/GreetsPart.h"
#include "parts/GrymtPart.h"
#include "parts/HusetPart.h"
#include "parts/RotozoomEffect.h"
#include "parts/RowBlurFilter.h"
#include "parts/SlutPart.h"
#include "parts/TunnelEffect.h"

namespace {

constexpr int32_t kWidth = 512;
constexpr int32_t kHeight = 384;

// Keeps every picture of a benchmark alive until it ends.
struct Pictures {
    std::vector<std::unique_ptr<Bitmap>> owned;
    std::mt19937 random{1};

    Bitmap* make(int32_t width, int32_t height) {
        owned.push_back(std::make_unique<Bitmap>(width, height));
        Bitmap* bitmap = owned.back().get();
        for (int32_t i = 0; i < width * height; ++i) bitmap->pixels[i] = random() & 0x00FFFFFF;
        return bitmap;
    }
};

void fillRandom(Bitmap* bitmap) {
    std::mt19937 random(2);
    for (int32_t i = 0; i < bitmap->width * bitmap->height; ++i) bitmap->pixels[i] = random() & 0x00FFFFFF;
}

// Draws frames of a part over a range of local times, as playback would.
void drawFrames(benchmark::State& state, DemoPart& part, float from, float to) {
    Bitmap frame(kWidth, kHeight);
    float time = from;
    for (auto _ : state) {
        part.draw(&frame, nullptr, time);
        benchmark::DoNotOptimize(frame.pixels);
        benchmark::ClobberMemory();
        time = time + 0.02f < to ? time + 0.02f : from;
    }
}

void BM_TunnelApply(benchmark::State& state) {
    TunnelEffect tunnel(TunnelSetup{kWidth, kHeight, "no picture", 0});
    fillRandom(tunnel.texture);
    Bitmap frame(kWidth, kHeight);
    float shift = 0.0f;
    for (auto _ : state) {
        tunnel.apply(&frame, shift, static_cast<int32_t>(state.range(0)));
        benchmark::ClobberMemory();
        shift += 0.6f;
    }
}
BENCHMARK(BM_TunnelApply)->ArgName("additive")->Arg(0)->Arg(1);

void BM_RotozoomApply(benchmark::State& state) {
    RotozoomEffect roto("no picture");
    fillRandom(roto.texture);
    Bitmap frame(kWidth, kHeight);
    float radius = 300.0f;
    for (auto _ : state) {
        roto.setParameter("radius", &radius);
        roto.setParameter("angle", &radius);
        roto.apply(&frame, 0.0f, static_cast<int32_t>(state.range(0)));
        benchmark::ClobberMemory();
        radius = radius > 400.0f ? 30.0f : radius + 1.0f;
    }
}
BENCHMARK(BM_RotozoomApply)->ArgName("additive")->Arg(0)->Arg(1);

void BM_RowBlurFilter(benchmark::State& state) {
    Pictures pictures;
    RowBlurFilter filter(pictures.make(kWidth, kHeight), static_cast<int32_t>(state.range(0)));
    Bitmap frame(kWidth, kHeight);
    for (auto _ : state) {
        filter.apply(&frame, 0.0f, 0);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RowBlurFilter)->ArgName("strength")->Arg(10)->Arg(-10);

void BM_ForstaPartDraw(benchmark::State& state) {
    Pictures pictures;
    ForstaPart part;
    part.title = pictures.make(kWidth, kHeight);
    part.black = pictures.make(kWidth, kHeight);
    fillBitmap(part.black, 0);
    drawFrames(state, part, 0.0f, 5.0f);
}
BENCHMARK(BM_ForstaPartDraw);

void BM_GrymtPartDraw(benchmark::State& state) {
    Pictures pictures;
    GrymtPart part;
    part.upperStrip = pictures.make(kWidth, 100);
    part.lowerStrip = pictures.make(kWidth, 100);
    part.powPicture = pictures.make(kWidth, kHeight);
    GrymtPart::flash.reset();
    drawFrames(state, part, 0.0f, 4.0f);
}
BENCHMARK(BM_GrymtPartDraw);

void BM_ForortPartDraw(benchmark::State& state) {
    Pictures pictures;
    ForortPart part;
    part.picture = pictures.make(kWidth, kHeight);
    drawFrames(state, part, 0.0f, 18.0f);
}
BENCHMARK(BM_ForortPartDraw);

void BM_HusetPartDraw(benchmark::State& state) {
    Pictures pictures;
    HusetPart part;
    part.background = pictures.make(kWidth, kHeight);
    part.label = pictures.make(100, 30);
    part.arrow = pictures.make(40, 40);
    part.powPicture = pictures.make(kWidth, kHeight);
    HusetPart::flash.reset();
    drawFrames(state, part, 0.0f, 10.0f);
}
BENCHMARK(BM_HusetPartDraw);

void BM_SlutPartDraw(benchmark::State& state) {
    Pictures pictures;
    SlutPart part;
    part.scroller = pictures.make(kWidth, 1536);
    drawFrames(state, part, 0.0f, 38.4f);
}
BENCHMARK(BM_SlutPartDraw);

void BM_CredsPartDraw(benchmark::State& state) {
    Pictures pictures;
    TunnelEffect tunnel(TunnelSetup{kWidth, kHeight, "no picture", 0});
    fillRandom(tunnel.texture);
    CredsPart part;
    part.codePlate = pictures.make(kWidth, 80);
    part.graphicsPlate = pictures.make(kWidth, 80);
    part.musicPlate = pictures.make(kWidth, 160);
    part.emblem = pictures.make(256, 256);
    part.tunnel = &tunnel;
    drawFrames(state, part, 0.0f, 22.0f);
}
BENCHMARK(BM_CredsPartDraw);

void BM_FetdelPartDraw(benchmark::State& state) {
    RotozoomEffect first("no picture"), second("no picture");
    fillRandom(first.texture);
    fillRandom(second.texture);
    FetdelPart part;
    part.firstEffect = &first;
    part.secondEffect = &second;
    drawFrames(state, part, 0.0f, 20.0f);
}
BENCHMARK(BM_FetdelPartDraw);

void BM_GreetsPartDraw(benchmark::State& state) {
    Pictures pictures;
    GreetsPart part;
    part.background = pictures.make(kWidth, kHeight);
    part.powPicture = pictures.make(kWidth, kHeight);
    part.scratch = pictures.make(100, 30);
    std::vector<std::unique_ptr<RowBlurFilter>> filters;
    for (int i = 0; i < GreetsPart::kPlateCount; ++i) {
        part.plates[i] = pictures.make(100, 30);
        filters.push_back(std::make_unique<RowBlurFilter>(part.plates[i], 20));
        part.filters[i] = filters.back().get();
    }
    GreetsPart::flash.reset();
    drawFrames(state, part, 0.0f, 16.0f);
}
BENCHMARK(BM_GreetsPartDraw);

}  // namespace

// Each part's draw should stay within 0.5 ms, about 20 full-frame memcpys.
BENCH_RATIO("ForstaPart draw / memcpy", "BM_ForstaPartDraw", "BM_memcpy", 20);
BENCH_RATIO("GrymtPart draw / memcpy", "BM_GrymtPartDraw", "BM_memcpy", 20);
BENCH_RATIO("ForortPart draw / memcpy", "BM_ForortPartDraw", "BM_memcpy", 20);
BENCH_RATIO("HusetPart draw / memcpy", "BM_HusetPartDraw", "BM_memcpy", 20);
BENCH_RATIO("SlutPart draw / memcpy", "BM_SlutPartDraw", "BM_memcpy", 20);
BENCH_RATIO("CredsPart draw / memcpy", "BM_CredsPartDraw", "BM_memcpy", 20);
BENCH_RATIO("FetdelPart draw / memcpy", "BM_FetdelPartDraw", "BM_memcpy", 20);
BENCH_RATIO("GreetsPart draw / memcpy", "BM_GreetsPartDraw", "BM_memcpy", 20);
