#include "tools/preview/job.h"

#include <cstdio>
#include <filesystem>

#include "tools/preview/output_target.h"

namespace minihost::preview {

Job defaultJob() {
    Job job;
    job.layer.text.text = "Quill & Ink";
    job.layer.text.size_px = Animated(40.0);
    job.layer.text.red.set(0xe0);
    job.layer.text.green.set(0x7b);
    job.layer.text.blue.set(0x39);
    return job;
}

std::string frameFileName(const std::string& pattern, int frame) {
    std::string p = pattern;
    if (p.find('#') == std::string::npos) {
        const std::filesystem::path path(p);
        const std::string stem = path.stem().string() + "_####" + path.extension().string();
        p = (path.has_parent_path() ? (path.parent_path() / stem).string() : stem);
    }
    std::string out;
    for (std::size_t i = 0; i < p.size();) {
        if (p[i] != '#') {
            out += p[i++];
            continue;
        }
        std::size_t run = 0;
        while (i + run < p.size() && p[i + run] == '#') {
            ++run;
        }
        char digits[32];
        std::snprintf(digits, sizeof digits, "%0*d", static_cast<int>(run), frame);
        out += digits;
        i += run;
    }
    return out;
}

std::vector<std::string> outputFiles(const Job& job) {
    const bool numbered = job.sequence && !(job.output != "-" && isStreamTarget(job.output));
    std::vector<std::string> files;
    for (int frame = job.frames.first; frame <= job.frames.last; ++frame) {
        files.push_back(numbered ? frameFileName(job.output, frame) : job.output);
    }
    return files;
}

}  // namespace minihost::preview
