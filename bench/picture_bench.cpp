// Painting costs: today's standard set of pictures, and the background at 3840 x 2160 on every
// core, which should take at most three times as long.
#include <benchmark/benchmark.h>

#include "pictures/background.h"
#include "pictures/catalogue.h"

namespace {

constexpr int kLargeWidth = 3840;
constexpr int kLargeHeight = 2160;

void paintStandardSet(benchmark::State& state) {
    for (auto _ : state) {
        for (const PictureRecipe& recipe : listPictures()) {
            benchmark::DoNotOptimize(recipe.paint());
        }
    }
}

void paintLargeBackground(benchmark::State& state) {
    const int threads = countPaintThreads();
    for (auto _ : state) {
        benchmark::DoNotOptimize(paintBackgroundAt(kLargeWidth, kLargeHeight, threads));
    }
    state.counters["threads"] = threads;
}

} // namespace

// Wall-clock time: the large picture is painted on several threads at once.
BENCHMARK(paintStandardSet)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(paintLargeBackground)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

BENCHMARK_MAIN();
