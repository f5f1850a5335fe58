// How many frames the preview tool may hold at once: a frame's worlds and
// pictures, worked out from its size and depth before anything is
// allocated, against the memory the machine has free.
#pragma once

#include <cstdint>
#include <string>

#include "tools/preview/job.h"

namespace minihost::preview {

// Bytes one frame takes while it is rendered and written: the host's layer
// image, the output and one more world of the frame's depth at the
// render's resolution, and the picture encoded from them.
std::uint64_t frameBytes(const Job& job);

// Memory free for the tool: the system's available memory, or the control
// group's limit when that is lower. QUILLARRAY_PREVIEW_MEMORY_MB, when set,
// stands for it (to try a small machine's limits without one).
std::uint64_t availableMemory();

struct ThreadPlan {
    int threads = 1;   // threads to use
    std::string note;  // one line when fewer than wanted fit, else ""
};

// Caps wanted threads (0: one per core) so that the frames in flight fit in
// available bytes; in a sequence each thread counts two frames (the one it
// writes and the worlds the host keeps for the next). Throws InputError, with the figures, when not even one frame fits.
ThreadPlan planThreads(const Job& job, int wanted, std::uint64_t available);

// "1.5 GB", "320 MB": a figure for a message.
std::string byteFigure(std::uint64_t bytes);

}  // namespace minihost::preview
