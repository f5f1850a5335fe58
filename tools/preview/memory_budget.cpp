#include "tools/preview/memory_budget.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "tools/preview/preview_error.h"

namespace minihost::preview {
namespace {

std::uint64_t worldBytesPerPixel(Depth depth) {
    switch (depth) {
        case Depth::k8:
            return 4;
        case Depth::k16:
            return 8;
        case Depth::k32:
            return 16;
    }
    return 16;
}

// MemAvailable from /proc/meminfo, in bytes; 0 when unknown.
std::uint64_t systemAvailable() {
    std::ifstream in("/proc/meminfo");
    std::string key;
    std::uint64_t kb = 0;
    std::string unit;
    while (in >> key >> kb >> unit) {
        if (key == "MemAvailable:") {
            return kb * 1024;
        }
    }
    return 0;
}

// What a version 2 control group still allows; 0 when it sets no limit.
std::uint64_t groupAvailable() {
    std::ifstream max_file("/sys/fs/cgroup/memory.max");
    std::ifstream current_file("/sys/fs/cgroup/memory.current");
    std::string max_text;
    std::uint64_t current = 0;
    if (!(max_file >> max_text) || max_text == "max" || !(current_file >> current)) {
        return 0;
    }
    const std::uint64_t max = std::strtoull(max_text.c_str(), nullptr, 10);
    return max > current ? max - current : 1;
}

std::string bpcName(Depth depth) { return depth == Depth::k8 ? "8" : depth == Depth::k16 ? "16" : "32"; }

}  // namespace

std::uint64_t frameBytes(const Job& job) {
    const int ds = std::max(1, job.render.downsample);
    const std::uint64_t pixels =
        std::uint64_t((job.layer.comp_width + ds - 1) / ds) * std::uint64_t((job.layer.comp_height + ds - 1) / ds);
    const std::uint64_t world = worldBytesPerPixel(job.render.depth);
    // A picture holds 16-bit samples, then packs them as the file takes them.
    const std::uint64_t picture = 8 + (job.render.depth == Depth::k8 ? 4 : 8);
    switch (job.picture) {
        case Picture::kLayerOnly:
            return pixels * (world + picture);
        case Picture::kSideBySide:
            return pixels * (3 * world + 4 * picture);  // both halves, then the canvas twice as wide
        case Picture::kEffect:
            break;
    }
    return pixels * (3 * world + picture);
}

std::uint64_t availableMemory() {
    if (const char* forced = std::getenv("QUILLARRAY_PREVIEW_MEMORY_MB"); forced != nullptr && *forced != '\0') {
        return std::strtoull(forced, nullptr, 10) * 1024 * 1024;
    }
    const std::uint64_t system = systemAvailable();
    const std::uint64_t group = groupAvailable();
    if (system == 0 || group == 0) {
        return std::max(system, group);
    }
    return std::min(system, group);
}

std::string byteFigure(std::uint64_t bytes) {
    char text[32];
    const double mb = static_cast<double>(bytes) / (1024.0 * 1024.0);
    if (mb >= 1024.0) {
        std::snprintf(text, sizeof text, "%.1f GB", mb / 1024.0);
    } else {
        std::snprintf(text, sizeof text, "%.0f MB", std::max(mb, 1.0));
    }
    return text;
}

ThreadPlan planThreads(const Job& job, int wanted, std::uint64_t available) {
    const int frames = std::max(1, job.frames.last - job.frames.first + 1);
    const int asked = wanted > 0 ? wanted : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const int useful = std::min(asked, frames);
    const std::uint64_t frame = frameBytes(job);
    const int ds = std::max(1, job.render.downsample);
    if (available != 0 && frame > available) {
        throw InputError("a frame of " + std::to_string((job.layer.comp_width + ds - 1) / ds) + "x" +
                         std::to_string((job.layer.comp_height + ds - 1) / ds) + " pixels at " +
                         bpcName(job.render.depth) + " bpc needs about " + byteFigure(frame) + ", but only " +
                         byteFigure(available) + " of memory is available");
    }
    // In a sequence each thread holds the frame it writes, and the host
    // keeps the large worlds of a frame it freed for the next one: two
    // frames per thread.
    const std::uint64_t per_thread = frame * std::uint64_t(frames > 1 ? 2 : 1);
    ThreadPlan plan;
    plan.threads = useful;
    if (available == 0) {
        return plan;  // nothing known: as asked
    }
    const std::uint64_t fit = std::max<std::uint64_t>(1, available / per_thread);
    if (fit < static_cast<std::uint64_t>(useful)) {
        plan.threads = static_cast<int>(fit);
        plan.note = "note: " + std::to_string(useful) + " threads would need about " +
                    byteFigure(per_thread * std::uint64_t(useful)) + " of memory, " + byteFigure(available) +
                    " is available: using " + std::to_string(plan.threads) +
                    (plan.threads == 1 ? " thread" : " threads");
    }
    return plan;
}

}  // namespace minihost::preview
