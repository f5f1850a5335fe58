// Pixel memory of worlds.
//
// Frames hand out and take back worlds of the same few large sizes over and
// over. Memory the allocator gives back to the system comes back with a
// page fault per page (costlier than clearing it), so large blocks freed are
// kept (the latest 512 MB of them) and handed out again, cleared. Smaller
// ones are kept too, by size, up to 64 MB of them: a frame makes and frees
// hundreds of small worlds, which the allocator's aligned allocation
// handles slowly. Under
// AddressSanitizer a kept block is poisoned, so a world used after it was
// freed is still caught. Thread-safe.
#pragma once

#include <cstddef>

namespace minihost::pixels_detail {

/// Zeroed memory of at least bytes, aligned to 64; null when there is none.
void* takeWorldMemory(std::size_t bytes) noexcept;

/// Gives back what takeWorldMemory handed out (the size is kept with the
/// block, so a world whose fields were changed still gives back the right
/// amount). Null is ignored.
void giveBackWorldMemory(void* memory) noexcept;

}  // namespace minihost::pixels_detail
