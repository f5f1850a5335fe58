#include "tools/preview/progress.h"

#include <unistd.h>

#include "tools/preview/signal_cleanup.h"

namespace minihost::preview {

Progress::Progress(int total, std::FILE* out, bool lines)
    : out_(out),
      total_(total > 0 ? total : 1),
      bar_(out != nullptr && isatty(fileno(out)) == 1),
      lines_(out != nullptr && !bar_ && lines) {
    step_ = total_ >= 20 ? (total_ + 19) / 20 : 1;
    if (out_ != nullptr) {
        reportFramesOnSignal(&written_, total_, &line_open_);
    }
    if (bar_) {
        draw();
    }
}

Progress::~Progress() {
    finish();
    if (out_ != nullptr) {
        reportFramesOnSignal(nullptr, 0, nullptr);
    }
}

void Progress::advance(bool written) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (written) {
        ++written_;
    }
    if (done_ < total_) {
        ++done_;
    }
    if (finished_) {
        return;
    }
    if (bar_) {
        draw();
    } else if (lines_ && (done_ % step_ == 0 || done_ == total_)) {
        std::fprintf(out_, "quillarray-preview: %d/%d frames\n", done_, total_);
        std::fflush(out_);
    }
}

void Progress::finish() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (bar_ && !finished_) {
        std::fputc('\n', out_);
        std::fflush(out_);
        line_open_ = false;
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
    line_open_ = true;
}

}  // namespace minihost::preview
