#include "minihost/preview/progress.h"

#include <unistd.h>

namespace minihost::preview {

Progress::Progress(int total, std::FILE* out)
    : out_(out), total_(total > 0 ? total : 1), enabled_(out != nullptr && isatty(fileno(out)) == 1) {
    if (enabled_) {
        draw();
    }
}

Progress::~Progress() { finish(); }

void Progress::advance() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (done_ < total_) {
        ++done_;
    }
    if (enabled_ && !finished_) {
        draw();
    }
}

void Progress::finish() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (enabled_ && !finished_) {
        std::fputc('\n', out_);
        std::fflush(out_);
    }
    finished_ = true;
}

void Progress::draw() {
    constexpr int width = 40;
    const int filled = done_ * width / total_;
    char bar[width + 1];
    for (int i = 0; i < width; ++i) {
        bar[i] = i < filled ? '#' : '.';
    }
    bar[width] = '\0';
    std::fprintf(out_, "\r[%s] %d/%d frames", bar, done_, total_);
    std::fflush(out_);
}

}  // namespace minihost::preview
