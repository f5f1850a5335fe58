// One PF_Cmd_SMART_RENDER of a 1920 x 1080 frame through the stand-in host,
// with 40 and 400 characters in each depth, guides on and off. The plug-in is
// loaded through the timing shim, which measures the whole smart render and
// the time spent inside the host's fill, copy and transform_world; the
// iteration time is the smart render alone (manual time), not the host's own
// drawing of the layer. The "Stubbed" runs skip the pixel callbacks, which
// leaves the effect's own code, its other host calls and world allocation.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <stdexcept>
#include <string>

#include "bench/render/timing_shim.h"
#include "minihost/core/host.h"
#include "params/param_index.h"

using namespace minihost;

namespace {

constexpr int kFrameWidth = 1920;
constexpr int kFrameHeight = 1080;
constexpr int kPerLine = 40;

struct shim_access {
    QaResetRenderTimingsFunc reset = nullptr;
    QaReadRenderTimingsFunc read = nullptr;
};

// The shim module the host loaded: dlopen hands back the same instance.
const shim_access& shim() {
    static const shim_access access = [] {
        void* handle = dlopen(QA_TIMING_SHIM_PATH, RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            throw std::runtime_error(dlerror());
        }
        shim_access a;
        a.reset = reinterpret_cast<QaResetRenderTimingsFunc>(dlsym(handle, "QaResetRenderTimings"));
        a.read = reinterpret_cast<QaReadRenderTimingsFunc>(dlsym(handle, "QaReadRenderTimings"));
        return a;
    }();
    return access;
}

// Lines of 40 glyphs 20 x 30, 40 apart; one run, whose cells are sized so
// that all of it lands inside the frame.
void setUpScene(Host& host, Depth depth, int characters, bool guide) {
    host.config().depth = depth;
    if (host.setUp() != PF_Err_NONE) {
        throw std::runtime_error("set-up failed");
    }
    host.layer().setCompSize(kFrameWidth, kFrameHeight);
    host.layer().setPosition(160, 100);
    std::vector<Glyph> glyphs;
    for (int k = 0; k < characters; ++k) {
        const double x = 40.0 * (k % kPerLine);
        const double y = 90.0 * (k / kPerLine);
        glyphs.push_back(rectangleGlyph(x, y, x + 20, y + 30));
    }
    host.layer().setGlyphs(std::move(glyphs));
    host.params().setValue(PARAM_CHARACTER_SIZE, 1600.0 / characters);
    host.params().setValue(PARAM_ENABLE_GUIDE, guide ? 1 : 0);
}

void runFrames(benchmark::State& state, bool stub) {
    const auto depth = static_cast<Depth>(state.range(0));
    const auto characters = static_cast<int>(state.range(1));
    const bool guide = state.range(2) != 0;
    Host host(QA_TIMING_SHIM_PATH);
    setUpScene(host, depth, characters, guide);
    shim().reset(stub ? 1 : 0);

    for (auto _ : state) {
        const QaRenderTimings before = shim().read();
        const Frame frame = host.renderFrame();
        const QaRenderTimings after = shim().read();
        if (frame.render_err != PF_Err_NONE) {
            state.SkipWithError("render failed");
            break;
        }
        state.SetIterationTime(static_cast<double>(after.smart_render_ns - before.smart_render_ns) * 1e-9);
        host.ledger().clear();
    }

    const QaRenderTimings t = shim().read();
    if (t.smart_renders > 0) {
        state.counters["pixel_share"] =
            static_cast<double>(t.pixel_callback_ns) / static_cast<double>(t.smart_render_ns);
        state.counters["transforms"] = static_cast<double>(t.transforms) / static_cast<double>(t.smart_renders);
    }
    state.SetLabel(std::string(depthName(depth)) + " bit, " + std::to_string(characters) + " characters, guide " +
                   (guide ? "on" : "off"));
}

void BM_SmartRender(benchmark::State& state) { runFrames(state, false); }
void BM_SmartRenderStubbed(benchmark::State& state) { runFrames(state, true); }

void frameArgs(benchmark::internal::Benchmark* b) {
    for (const Depth d : {Depth::k8, Depth::k16, Depth::k32}) {
        for (const int n : {40, 400}) {
            for (const int guide : {1, 0}) {
                b->Args({static_cast<int>(d), n, guide});
            }
        }
    }
    b->UseManualTime()->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_SmartRender)->Apply(frameArgs);
BENCHMARK(BM_SmartRenderStubbed)->Apply(frameArgs);

}  // namespace

BENCHMARK_MAIN();
