// Fuzz target: outline sets and control values through capture, grouping,
// layout and compositing, driven by the stand-in host.
#include <cstddef>
#include <cstdint>

#include "outline_scene.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qa_fuzz::renderOutlineScene(qa_fuzz::decodeOutlineScene(data, size));
    return 0;
}
