// The preview tool's scene path, release build: 1920 x 1080 frames of the
// sample text ("Quill & Ink", 40 px, tracking animated so that every frame
// differs) rendered by Session::render and written as numbered PNG files to
// a folder in /dev/shm (memory, so that the disk does not time the CPU's
// work).
//
// BM_Scene/<threads>/<compression>: one iteration is 24 frames. Counters,
// measured in the same run:
//   fps           frames per second, wall clock
//   cpu_ms        CPU time of the whole process per frame (every thread):
//                 rendering, converting and encoding
//   effect_ms     CPU time of the effect's smart render per frame
//   x_effect      cpu_ms / effect_ms: what the scene path costs beyond the
//                 effect's own work
//   png_kb        average file size
// BM_SceneThreads: each iteration renders the 24 frames on one thread, then
// on two, back to back, so that both see the same load; x_two_threads is
// the one-thread wall time over the two-thread one.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "bench/effect/timed_plugin.h"
#include "tools/preview/job.h"
#include "tools/preview/session.h"
#include "params/param_index.h"

namespace {

using minihost::preview::Job;
using minihost::preview::Session;

constexpr int kFrames = 24;

double processCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

double wallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// A folder of its own in /dev/shm, removed at the end.
struct Folder {
    std::filesystem::path path =
        std::filesystem::path("/dev/shm") / ("quillarray-bench-scene-" + std::to_string(getpid()));
    Folder() { std::filesystem::create_directories(path); }
    ~Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

Job sceneJob(const Folder& folder, int threads, int compression) {
    Job job = minihost::preview::defaultJob();
    job.layer.comp_width = 1920;
    job.layer.comp_height = 1080;
    job.frames.fps = 24.0;
    job.frames.first = 0;
    job.frames.last = kFrames - 1;
    job.controls.push_back({PARAM_TRACKING, 0.0, {{0.0, 0.0}, {1.0, 30.0}}});
    job.output = (folder.path / "f_####.png").string();
    job.sequence = true;
    job.threads = threads;
    job.png_compression = compression;
    return job;
}

void render(Session& session, const Job& job) {
    const minihost::preview::RenderReport report = session.render(job, nullptr);
    if (!report.failures.empty()) {
        throw std::runtime_error(report.failures.front().message);
    }
}

double averageFileBytes(const Folder& folder) {
    double bytes = 0;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path)) {
        bytes += static_cast<double>(entry.file_size());
        ++files;
    }
    return files == 0 ? 0.0 : bytes / files;
}

void BM_Scene(benchmark::State& state) {
    const int threads = static_cast<int>(state.range(0));
    const int compression = static_cast<int>(state.range(1));
    const Folder folder;
    Session session(bench_effect::timedEffect());
    const Job job = sceneJob(folder, threads, compression);
    render(session, job);  // once before timing: memory the host then keeps
    (void)bench_effect::takeSmartRenderSeconds();
    double cpu = 0;
    for (auto _ : state) {
        const double start = processCpuSeconds();
        render(session, job);
        cpu += processCpuSeconds() - start;
    }
    const double frames = static_cast<double>(state.iterations()) * kFrames;
    const double effect = bench_effect::takeSmartRenderSeconds();
    state.counters["fps"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
    state.counters["cpu_ms"] = cpu / frames * 1e3;
    state.counters["effect_ms"] = effect / frames * 1e3;
    state.counters["x_effect"] = effect > 0 ? cpu / effect : 0.0;
    state.counters["png_kb"] = averageFileBytes(folder) / 1024.0;
    if (!session.ledgerClean()) {
        state.SkipWithError("ledger not clean");
    }
}

void BM_SceneThreads(benchmark::State& state) {
    const Folder folder;
    Session session(bench_effect::timedEffect());
    const Job one = sceneJob(folder, 1, minihost::preview::kDefaultPngCompression);
    const Job two = sceneJob(folder, 2, minihost::preview::kDefaultPngCompression);
    render(session, two);
    double wall_one = 0, wall_two = 0;
    for (auto _ : state) {
        double start = wallSeconds();
        render(session, one);
        wall_one += wallSeconds() - start;
        start = wallSeconds();
        render(session, two);
        wall_two += wallSeconds() - start;
    }
    const double frames = static_cast<double>(state.iterations()) * kFrames;
    state.counters["fps_one"] = frames / wall_one;
    state.counters["fps_two"] = frames / wall_two;
    state.counters["x_two_threads"] = wall_one / wall_two;
    if (!session.ledgerClean()) {
        state.SkipWithError("ledger not clean");
    }
}

}  // namespace

BENCHMARK(BM_Scene)
    ->ArgNames({"threads", "compression"})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({1, 3})
    ->Args({1, 6})
    ->Args({1, 9})
    ->Args({2, 1})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SceneThreads)->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

BENCHMARK_MAIN();
