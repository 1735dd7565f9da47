// SPDX-License-Identifier: MIT
// Benchmarks of construction, animation frames and single moves on the headless platform.
#include <benchmark/benchmark.h>

#include <memory>

#include "gamefixture.h"

namespace pelorix::testing {
namespace {

// A game whose client area is width × height (the fake's maximized size).
std::unique_ptr<Game> gameon(int width, int height, std::uint64_t seed = 1) {
    auto g = std::make_unique<Game>(seed);
    if (width != 754 || height != 385) {
        g->fake.maximizedWidth = width;
        g->fake.maximizedHeight = height;
        g->fake.maximize();
    }
    return g;
}

// Construction (layout, scramble, first drawing) of a regular puzzle.
void BM_Construction(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    auto g = gameon(static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
    long moves = 0;
    for (auto _ : state) {
        g->buildtitle(size, size, 0);
        moves += g->game.puzzle.solvetop;
    }
    state.counters["scramble_moves"] = benchmark::Counter(static_cast<double>(moves), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_Construction)
    ->Args({20, 1920, 1080})
    ->Args({4, 754, 385})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// One frame of an animated puzzle in play: compose and move, with no frame delay.
void BM_Framestep(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    auto g = gameon(1920, 1080);
    g->buildtitle(size, size, 1);
    g->game.loop.nwait4 = 0;
    for (auto _ : state) g->game.framestep();
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("items/s = frames per second");
}
BENCHMARK(BM_Framestep)->Arg(4)->Arg(20)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// One move with its redraw: a piece slid into the hole and back counts as two moves.
void BM_Slidepiece(benchmark::State& state) {
    auto g = gameon(754, 385);
    g->buildtitle(4, 4, 0);
    PuzzleState& s = g->game.puzzle;
    s.computermove = 0;
    for (auto _ : state) {
        // The hole is at (1, 1) after construction: slide (2, 1) left into it, then back right.
        s.movedir = dir::left;
        g->game.slidepiece(2, 1, dir::left);
        s.movedir = dir::right;
        g->game.slidepiece(1, 1, dir::right);
    }
    state.SetItemsProcessed(state.iterations() * 2);
    state.SetLabel("items = moves");
}
BENCHMARK(BM_Slidepiece)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace pelorix::testing


