// Frames of the effect through the stand-in host, release build.
//
// BM_Frame/<bpc>/<width>/<characters>: the iteration time is the effect's
// smart render alone (manual time). Every time of BM_Frame is the CPU time of
// the rendering thread. Counters, measured in the same run:
//   floor_ms     a memset of the output world plus a memcpy of every
//                character's source rectangle: the bytes the frame must move
//   x_floor      smart render / floor
//   with_ms      the whole frame as the host makes it with the effect: the
//                host draws the text layer, pre-render, smart render
//   without_ms   the same frame without the effect: the host draws the layer
//                and a pass-through plug-in copies it to the output
//   x_host_text  with_ms / without_ms: the effect's cost on top of the
//                host's own text rendering
// BM_Sequence/<threads>: 16 different frames rendered at once on 1 or 2
// threads; items_per_second is frames per second.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "bench/effect/cpu_clock.h"
#include "bench/effect/timed_plugin.h"
#include "minihost/core/host.h"
#include "params/param_index.h"

namespace {

using minihost::Depth;
using minihost::Host;
// CPU time of this thread: see cpu_clock.h.
using Clock = bench_effect::ThreadCpuClock;

constexpr int kPerLine = 40;

struct FrameShape {
    int width, height, characters;
};

// Lines of 40 glyphs, 20 x 30 pixels at 1920 x 1080 and twice that at
// 3840 x 2160, spread over the frame; cells sized so the run of characters
// spans about 80 % of the frame's width.
struct GlyphBox {
    int left, top, right, bottom;
};

std::vector<GlyphBox> glyphBoxes(const FrameShape& f) {
    const int unit = f.width / 1920;
    std::vector<GlyphBox> boxes;
    for (int k = 0; k < f.characters; ++k) {
        const int x = 80 * unit + 40 * unit * (k % kPerLine);
        const int y = 60 * unit + 90 * unit * (k / kPerLine);
        boxes.push_back({x, y, x + 20 * unit, y + 30 * unit});
    }
    return boxes;
}

void stageLayer(Host& host, const FrameShape& f) {
    host.layer().setCompSize(f.width, f.height);
    host.layer().setPosition(0, 0);
    std::vector<minihost::Glyph> glyphs;
    for (const GlyphBox& b : glyphBoxes(f)) {
        glyphs.push_back(minihost::rectangleGlyph(b.left, b.top, b.right, b.bottom));
    }
    host.layer().setGlyphs(std::move(glyphs));
}

void setUp(Host& host, Depth depth) {
    host.config().depth = depth;
    if (host.setUp() != PF_Err_NONE) {
        throw std::runtime_error("set-up failed");
    }
}

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The floor: clear the output, copy every character's pixels once.
double floorSeconds(const FrameShape& f, Depth depth, int repetitions) {
    const std::size_t pixel = static_cast<std::size_t>(minihost::pixelBytes(depth));
    const std::size_t row = static_cast<std::size_t>(f.width) * pixel;
    std::vector<unsigned char> input(row * static_cast<std::size_t>(f.height), 1);
    std::vector<unsigned char> output(input.size());
    std::vector<unsigned char> character;
    const std::vector<GlyphBox> boxes = glyphBoxes(f);
    double best = 1e300;
    for (int r = 0; r < repetitions; ++r) {
        const auto start = Clock::now();
        std::memset(output.data(), 0, output.size());
        for (const GlyphBox& b : boxes) {
            const std::size_t w = static_cast<std::size_t>(b.right - b.left) * pixel;
            character.resize(w * static_cast<std::size_t>(b.bottom - b.top));
            for (int y = b.top; y < b.bottom; ++y) {
                std::memcpy(character.data() + static_cast<std::size_t>(y - b.top) * w,
                            input.data() + static_cast<std::size_t>(y) * row + static_cast<std::size_t>(b.left) * pixel,
                            w);
            }
        }
        benchmark::DoNotOptimize(output.data());
        benchmark::DoNotOptimize(character.data());
        best = std::min(best, seconds(Clock::now() - start));
    }
    return best;
}

void BM_Frame(benchmark::State& state) {
    const auto depth = static_cast<Depth>(state.range(0));
    const int width = static_cast<int>(state.range(1));
    const FrameShape shape{width, width * 9 / 16, static_cast<int>(state.range(2))};

    Host host(bench_effect::timedEffect());
    setUp(host, depth);
    stageLayer(host, shape);
    host.params().setValue(PARAM_CHARACTER_SIZE, std::floor(0.8 * shape.width / shape.characters));
    Host plain(bench_effect::passThrough());
    setUp(plain, depth);
    stageLayer(plain, shape);
    (void)host.renderFrame();
    (void)plain.renderFrame();
    (void)bench_effect::takeSmartRenderSeconds();

    // The frame with and without the effect alternate, so that both see the
    // same machine; only the smart render counts as iteration time.
    double with_effect = 0.0;
    double without_effect = 0.0;
    double rendering = 0.0;
    for (auto _ : state) {
        auto start = Clock::now();
        const minihost::Frame frame = host.renderFrame();
        with_effect += seconds(Clock::now() - start);
        const double render = bench_effect::takeSmartRenderSeconds();
        start = Clock::now();
        const minihost::Frame passed = plain.renderFrame();
        without_effect += seconds(Clock::now() - start);
        if (frame.render_err != PF_Err_NONE || passed.render_err != PF_Err_NONE) {
            state.SkipWithError("render failed");
            break;
        }
        rendering += render;
        state.SetIterationTime(render);
    }
    const double iterations = static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    const double floor = floorSeconds(shape, depth, 20);

    state.counters["floor_ms"] = floor * 1e3;
    state.counters["with_ms"] = with_effect / iterations * 1e3;
    state.counters["without_ms"] = without_effect / iterations * 1e3;
    state.counters["x_host_text"] = with_effect / without_effect;
    state.counters["x_floor"] = rendering / iterations / floor;
    if (!host.ledger().clean() || !plain.ledger().clean()) {
        state.SkipWithError("ledger not clean");
    }
}

void BM_Sequence(benchmark::State& state) {
    const int threads = static_cast<int>(state.range(0));
    const FrameShape shape{1920, 1080, 40};
    Host host(bench_effect::timedEffect());
    setUp(host, Depth::k8);
    stageLayer(host, shape);
    host.params().setKeyframes(PARAM_CHARACTER_SIZE, {{0.0, 20.0}, {1.0, 38.0}});
    std::vector<A_long> times;
    for (A_long t = 0; t < 16; ++t) {
        times.push_back(t);
    }
    // Once before timing, as BM_Frame does: the first frames pay for memory
    // the host then keeps.
    (void)host.renderFrames(times, threads);
    for (auto _ : state) {
        const std::vector<minihost::Frame> frames = host.renderFrames(times, threads);
        benchmark::DoNotOptimize(frames.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<benchmark::IterationCount>(times.size()));
    (void)bench_effect::takeSmartRenderSeconds();
    if (!host.ledger().clean()) {
        state.SkipWithError("ledger not clean");
    }
}

void frameArguments(benchmark::internal::Benchmark* b) {
    for (const int width : {1920, 3840}) {
        for (const int characters : {40, 400}) {
            for (const Depth depth : {Depth::k8, Depth::k16, Depth::k32}) {
                b->Args({static_cast<long>(depth), width, characters});
            }
        }
    }
    b->ArgNames({"bpc_index", "width", "characters"});
}

}  // namespace

BENCHMARK(BM_Frame)->Apply(frameArguments)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sequence)->Arg(1)->Arg(2)->ArgName("threads")->UseRealTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
