// groupCharacters on glyph-like outlines: lines of characters of one to three
// contours each (plain stems, contours with holes listed after and before
// them, dots over stems), in the order a text layer lists them.
//
// BM_GroupCharacters is the grouping the effect runs (placement through a
// grid of boxes); BM_GroupCharactersAllPairs the plain search of every pair
// that the tests keep as its reference, for the ratio in one run.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <vector>

#include "geometry/text_characters.h"
#include "tests/geometry/grouping_reference.h"

namespace {

path boxPath(double left, double top, double right, double bottom) {
    path p;
    p.segment_count = 4;
    p.vertices = {PF_PathVertex{left, top, left, top, left, top}, PF_PathVertex{right, top, right, top, right, top},
                  PF_PathVertex{right, bottom, right, bottom, right, bottom},
                  PF_PathVertex{left, bottom, left, bottom, left, bottom}};
    p.left = left;
    p.top = top;
    p.right = right;
    p.bottom = bottom;
    return p;
}

// Characters 30 pixels apart, 100 to a line, lines 60 apart, until count
// paths have been made.
std::vector<path> glyphLikePaths(std::size_t count) {
    std::vector<path> paths;
    for (std::size_t c = 0; paths.size() < count; ++c) {
        const double x = 30.0 * static_cast<double>(c % 100);
        const double y = 60.0 * static_cast<double>(c / 100);
        switch (c % 5) {
            case 0:  // a stem
                paths.push_back(boxPath(x + 8, y, x + 12, y + 30));
                break;
            case 1:  // a contour, then its hole
                paths.push_back(boxPath(x, y + 10, x + 20, y + 30));
                paths.push_back(boxPath(x + 5, y + 15, x + 15, y + 25));
                break;
            case 2:  // a dot over a stem
                paths.push_back(boxPath(x + 8, y, x + 12, y + 4));
                paths.push_back(boxPath(x + 8, y + 10, x + 12, y + 30));
                break;
            case 3:  // a hole listed before its contour
                paths.push_back(boxPath(x + 5, y + 15, x + 15, y + 25));
                paths.push_back(boxPath(x, y + 10, x + 20, y + 30));
                break;
            default:  // a contour with two holes
                paths.push_back(boxPath(x, y, x + 20, y + 30));
                paths.push_back(boxPath(x + 5, y + 5, x + 15, y + 12));
                paths.push_back(boxPath(x + 5, y + 18, x + 15, y + 25));
                break;
        }
    }
    paths.resize(count);
    return paths;
}

using Grouping = void (*)(std::vector<path>&, double, double, A_long, A_long, std::vector<character>&);

void runGrouping(benchmark::State& state, Grouping grouping) {
    const std::vector<path> source = glyphLikePaths(static_cast<std::size_t>(state.range(0)));
    std::size_t characters_made = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<path> paths = source;  // grouping empties the paths it places
        std::vector<character> characters;
        state.ResumeTiming();
        grouping(paths, 10.0, 4.0, 2, 3, characters);
        benchmark::DoNotOptimize(characters.data());
        characters_made = characters.size();
    }
    state.counters["characters"] = static_cast<double>(characters_made);
    state.SetComplexityN(state.range(0));
}

void BM_GroupCharacters(benchmark::State& state) { runGrouping(state, &groupCharacters); }

void BM_GroupCharactersAllPairs(benchmark::State& state) {
    runGrouping(state, &grouping_reference::groupCharactersAllPairs);
}

BENCHMARK(BM_GroupCharacters)->RangeMultiplier(10)->Range(100, 10000)->Unit(benchmark::kMicrosecond)->Complexity();
BENCHMARK(BM_GroupCharactersAllPairs)
    ->RangeMultiplier(10)
    ->Range(100, 10000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity();

}  // namespace

BENCHMARK_MAIN();
