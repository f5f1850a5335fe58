// Fuzz target: the preview tool's scene-file parser. Any text either becomes
// a job or is refused with an InputError; nothing else may leave the parser.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>

#include "tools/preview/preview_error.h"
#include "tools/preview/scene.h"
#include "tools/preview/session.h"

namespace {

const minihost::preview::Controls& declaredControls() {
    static const std::unique_ptr<minihost::preview::Session> session =
        std::make_unique<minihost::preview::Session>(QA_PLUGIN_PATH);
    return session->controls();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        (void)minihost::preview::parseScene(text, "fuzz.json", declaredControls());
    } catch (const minihost::preview::InputError&) {
        // Refused with a message for the user: as it should be.
    } catch (const std::exception& e) {
        std::fprintf(stderr, "scene parser let an exception escape: %s\n", e.what());
        std::abort();
    }
    return 0;
}
