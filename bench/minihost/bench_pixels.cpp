// Throughput of the stand-in host's pixel callbacks on a 1920 x 1080 world in
// each depth, next to a plain memcpy of the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "minihost/pixels/pixels.h"

namespace {

using minihost::Depth;
using minihost::Rgba;
using minihost::World;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr double kPixels = static_cast<double>(kWidth) * kHeight;

Depth depthArg(const benchmark::State& state) { return static_cast<Depth>(state.range(0)); }

void report(benchmark::State& state) {
    state.counters["MPix/s"] =
        benchmark::Counter(kPixels * static_cast<double>(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
    state.SetLabel(std::string(minihost::depthName(depthArg(state))) + "-bit");
}

// Like rendered text: runs of opaque, edge (partly transparent) and empty pixels.
World textLike(Depth depth) {
    World w(kWidth, kHeight, depth);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const int k = (x / 3 + y) % 8;
            const float a = k < 3 ? 1.0f : k == 3 ? 0.5f : k == 4 ? 0.25f : 0.0f;
            w.set(x, y, Rgba{a, 0.8f, 0.6f, 0.2f});
        }
    return w;
}

World opaqueBackground(Depth depth) {
    World w(kWidth, kHeight, depth);
    const PF_Pixel grey{255, 40, 60, 80};
    minihost::fillWorld(&grey, nullptr, w.pf());
    return w;
}

void BM_Memcpy(benchmark::State& state) {
    const std::size_t bytes =
        static_cast<std::size_t>(kPixels) * static_cast<std::size_t>(minihost::pixelBytes(depthArg(state)));
    std::vector<unsigned char> src(bytes, 1), dst(bytes);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), bytes);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    report(state);
}

void BM_Fill(benchmark::State& state) {
    World w(kWidth, kHeight, depthArg(state));
    const PF_Pixel red{255, 128, 0, 0};
    for (auto _ : state) {
        minihost::fillWorld(&red, nullptr, w.pf());
        benchmark::ClobberMemory();
    }
    report(state);
}

void BM_Copy(benchmark::State& state) {
    const World src = textLike(depthArg(state));
    World dst(kWidth, kHeight, depthArg(state));
    for (auto _ : state) {
        minihost::copyWorld(src.pf(), dst.pf(), nullptr, nullptr);
        benchmark::ClobberMemory();
    }
    report(state);
}

// range(1): 0 whole-pixel translation, 1 fractional; range(2): the transfer mode.
void BM_Transform(benchmark::State& state) {
    const World src = textLike(depthArg(state));
    World dst = opaqueBackground(depthArg(state));
    PF_FloatMatrix m{};
    m.mat[0][0] = m.mat[1][1] = m.mat[2][2] = 1;
    m.mat[2][0] = state.range(1) == 0 ? 3.0 : 3.4;
    m.mat[2][1] = state.range(1) == 0 ? -2.0 : -1.7;
    const PF_CompositeMode comp{static_cast<PF_TransferMode>(state.range(2)), 0, 255, 0, 32768};
    for (auto _ : state) {
        // The destination is not restored between runs: compositing the same
        // source again costs the same.
        minihost::transformWorld(PF_Quality_HI, PF_MF_Alpha_STRAIGHT, PF_Field_FRAME, src.pf(), &comp, nullptr, &m, 1,
                                 1, nullptr, dst.pf());
        benchmark::ClobberMemory();
    }
    report(state);
}

void depths(benchmark::internal::Benchmark* b) {
    b->ArgName("depth");
    for (int d = 0; d < 3; ++d) b->Arg(d);
}

void transforms(benchmark::internal::Benchmark* b) {
    b->ArgNames({"depth", "fractional", "xfer"});
    for (int d = 0; d < 3; ++d)
        for (int fractional : {0, 1})
            for (int xfer : {PF_Xfer_IN_FRONT, PF_Xfer_SCREEN}) b->Args({d, fractional, xfer});
}

}  // namespace

BENCHMARK(BM_Memcpy)->Apply(depths)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Fill)->Apply(depths)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Copy)->Apply(depths)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Transform)->Apply(transforms)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
