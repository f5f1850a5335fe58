#include "minihost/pixels/detail/world_memory.h"

#include <cstring>
#include <mutex>
#include <new>
#include <unordered_map>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define MINIHOST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MINIHOST_ASAN 1
#endif
#endif
#if defined(MINIHOST_ASAN)
#include <sanitizer/asan_interface.h>
#endif
#if defined(__linux__)
#include <sys/mman.h>

#include <cstdint>
#endif

namespace minihost::pixels_detail {
namespace {

constexpr std::size_t kAlign = 64;
constexpr std::align_val_t kAlignment{kAlign};
// Blocks from this size on are kept (a 1920 x 1080 8-bit world is 8 MB).
constexpr std::size_t kKeptFrom = std::size_t{1} << 20;
// Kept at most: enough for the worlds of a few dozen HD frames in flight.
constexpr std::size_t kKeptBytes = std::size_t{512} << 20;
// Smaller blocks kept at most, apart from those: a frame's hundreds of
// character-sized worlds, many times over.
constexpr std::size_t kKeptSmallBytes = std::size_t{64} << 20;

// Large worlds are read and written a short row at a time (a glyph's
// rectangle in a frame), a page apiece with 4 KB pages: huge pages, where
// the system gives them on request, spare those translation misses.
void preferHugePages(void* memory, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
    const auto start = reinterpret_cast<std::uintptr_t>(memory);
    const std::uintptr_t first = (start + kHuge - 1) & ~(kHuge - 1);
    const std::uintptr_t end = (start + bytes) & ~(kHuge - 1);
    // Advice only: where it is not taken, small pages serve as before.
    if (end > first) (void)madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
    (void)memory;
    (void)bytes;
#endif
}

void poison(void* memory, std::size_t bytes) {
#if defined(MINIHOST_ASAN)
    ASAN_POISON_MEMORY_REGION(memory, bytes);
#else
    (void)memory;
    (void)bytes;
#endif
}

void unpoison(void* memory, std::size_t bytes) {
#if defined(MINIHOST_ASAN)
    ASAN_UNPOISON_MEMORY_REGION(memory, bytes);
#else
    (void)memory;
    (void)bytes;
#endif
}

struct Block {
    void* memory;
    std::size_t bytes;
};

class KeptBlocks {
public:
    void* take(std::size_t bytes) {
        std::lock_guard lock(mutex_);
        if (bytes < kKeptFrom) {
            const auto it = small_.find(bytes);
            if (it == small_.end() || it->second.empty()) return nullptr;
            void* memory = it->second.back();
            it->second.pop_back();
            small_bytes_ -= bytes;
            return memory;
        }
        for (auto it = blocks_.begin(); it != blocks_.end(); ++it) {
            if (it->bytes == bytes) {
                void* memory = it->memory;
                kept_bytes_ -= it->bytes;
                blocks_.erase(it);
                return memory;
            }
        }
        return nullptr;
    }

    // Keeps a poisoned block, the oldest ones making room; false when it is
    // too large to keep. Throws std::bad_alloc when it cannot keep it.
    bool keep(void* memory, std::size_t bytes) {
        if (bytes > kKeptBytes) return false;
        std::lock_guard lock(mutex_);
        if (bytes < kKeptFrom) {
            // Sizes come back in a few classes; past the bound, blocks go
            // back to the allocator instead.
            if (small_bytes_ + bytes > kKeptSmallBytes) return false;
            small_[bytes].push_back(memory);
            small_bytes_ += bytes;
            return true;
        }
        while (kept_bytes_ + bytes > kKeptBytes) {
            unpoison(blocks_.front().memory, blocks_.front().bytes);
            ::operator delete[](blocks_.front().memory, kAlignment);
            kept_bytes_ -= blocks_.front().bytes;
            blocks_.erase(blocks_.begin());
        }
        blocks_.push_back({memory, bytes});
        kept_bytes_ += bytes;
        return true;
    }

private:
    std::mutex mutex_;
    std::vector<Block> blocks_;
    std::size_t kept_bytes_ = 0;
    std::unordered_map<std::size_t, std::vector<void*>> small_;  // by block size
    std::size_t small_bytes_ = 0;
};

// Never destroyed: worlds may be freed while static objects are destroyed.
KeptBlocks& kept() {
    static KeptBlocks* blocks = new KeptBlocks;
    return *blocks;
}

}  // namespace

// A block is its size, padded to the alignment, then the world's pixels.
void* takeWorldMemory(std::size_t bytes) noexcept {
    if (bytes > static_cast<std::size_t>(-1) - kAlign) return nullptr;
    const std::size_t block_bytes = bytes + kAlign;
    void* block = nullptr;
    try {
        block = kept().take(block_bytes);
    } catch (...) {
        block = nullptr;
    }
    if (block != nullptr) unpoison(block, block_bytes);
    if (block == nullptr) {
        block = ::operator new[](block_bytes, kAlignment, std::nothrow);
        if (block == nullptr) return nullptr;
        if (block_bytes >= kKeptFrom) preferHugePages(block, block_bytes);
    }
    std::memcpy(block, &block_bytes, sizeof block_bytes);
    void* memory = static_cast<char*>(block) + kAlign;
    std::memset(memory, 0, bytes);
    return memory;
}

void giveBackWorldMemory(void* memory) noexcept {
    if (memory == nullptr) return;
    void* block = static_cast<char*>(memory) - kAlign;
    std::size_t block_bytes = 0;
    std::memcpy(&block_bytes, block, sizeof block_bytes);
    poison(block, block_bytes);
    try {
        if (kept().keep(block, block_bytes)) return;
    } catch (...) {}
    unpoison(block, block_bytes);
    ::operator delete[](block, kAlignment);
}

}  // namespace minihost::pixels_detail
