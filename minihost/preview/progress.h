// A progress bar for frame sequences, drawn on one terminal line. It draws
// nothing when its stream is not a terminal, so logs and pipes stay clean.
#pragma once

#include <cstdio>
#include <mutex>

namespace minihost::preview {

class Progress {
public:
    // Draws on out only when out is a terminal.
    Progress(int total, std::FILE* out);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // One more frame done; safe from several threads.
    void advance();
    // Ends the bar's line (also done by the destructor).
    void finish();

    bool drawing() const { return enabled_; }

private:
    void draw();

    std::mutex mutex_;
    std::FILE* out_;
    int total_;
    int done_ = 0;
    bool enabled_;
    bool finished_ = false;
};

}  // namespace minihost::preview
