// A scene's progress on standard error: a bar redrawn on one line when
// stderr is a terminal; otherwise, when asked, one line per twentieth of the
// frames, so logs show a long run moving. Either way it counts the frames
// written, so that an interrupted run can say how many it left behind.
#pragma once

#include <atomic>
#include <cstdio>
#include <mutex>

namespace minihost::preview {

class Progress {
public:
    // out: where to draw (nullptr: nowhere); lines: lines off a terminal.
    Progress(int total, std::FILE* out, bool lines);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // One more frame done, written or not; safe from several threads.
    void advance(bool written);
    // Ends the bar's line (also done by the destructor).
    void finish();

    bool drawing() const { return bar_; }

private:
    void draw();

    std::mutex mutex_;
    std::FILE* out_;
    int total_;
    int done_ = 0;
    int step_ = 1;  // frames per line off a terminal
    bool bar_;
    bool lines_;
    bool finished_ = false;
    // Read by the signal handler: plain lock-free atomics.
    std::atomic<int> written_{0};
    std::atomic<bool> line_open_{false};
};

}  // namespace minihost::preview
