// Per-frame cost of the 3D part on the generated data: the scene render alone and the
// part's whole draw. The data comes from the stage folder the build writes beside bench/.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "core/Bitmap.h"
#include "engine/MeshSurfaceObject.h"
#include "engine/Scene.h"
#include "parts/KebabPart.h"
#include "raster/RenderDriver.h"

namespace {

constexpr int32_t kWidth = 512;
constexpr int32_t kHeight = 384;

std::filesystem::path stageFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return program.parent_path().parent_path() / "stage";
}

// The part, initialised once from the stage for every benchmark of this file; null when
// the stage has no kebab data.
struct LoadedKebab {
    Bitmap frame{kWidth, kHeight};
    NewRenderDriver driver{&frame};
    KebabPart part;
    bool loaded = false;

    LoadedKebab() {
        const std::filesystem::path stage = stageFolder();
        if (!std::filesystem::exists(stage / "data/kebab/kebab2.lwo")) return;
        const std::filesystem::path previous = std::filesystem::current_path();
        std::filesystem::current_path(stage);
        part.init(&frame, &driver);
        std::filesystem::current_path(previous);
        part.start = 66.0f;
        loaded = true;
    }
};

LoadedKebab* kebab() {
    static LoadedKebab* loaded = new LoadedKebab;
    return loaded->loaded ? loaded : nullptr;
}

// Times spread over the part's window, so that the object shows every side.
float nextTime(float time) { return time + 0.37f < 90.0f ? time + 0.37f : 66.0f; }

void BM_KebabSceneRender(benchmark::State& state) {
    LoadedKebab* k = kebab();
    if (!k) {
        state.SkipWithError("no kebab data in the stage folder");
        return;
    }
    float time = 66.0f;
    for (auto _ : state) {
        k->part.object->rotation.set(time * 0.5, time * 2.0, time * 3.0);
        k->part.scene->render(&k->frame, &k->driver, time, 1);
        benchmark::DoNotOptimize(k->frame.pixels);
        benchmark::ClobberMemory();
        time = nextTime(time);
    }
    state.counters["polygons"] = static_cast<SceneObject*>(k->part.object)->polygonCount;
}
BENCHMARK(BM_KebabSceneRender);

void BM_KebabPartDraw(benchmark::State& state) {
    LoadedKebab* k = kebab();
    if (!k) {
        state.SkipWithError("no kebab data in the stage folder");
        return;
    }
    float time = 66.0f;
    for (auto _ : state) {
        k->part.draw(&k->frame, &k->driver, time);
        benchmark::DoNotOptimize(k->frame.pixels);
        benchmark::ClobberMemory();
        time = nextTime(time);
    }
}
BENCHMARK(BM_KebabPartDraw);

}  // namespace
