// Move-only owners of fontconfig objects.
#pragma once

#include <memory>

#include <fontconfig/fontconfig.h>

namespace minihost::text {

struct FcPatternDone {
    void operator()(FcPattern* pattern) const noexcept { FcPatternDestroy(pattern); }
};

struct FcConfigDone {
    void operator()(FcConfig* config) const noexcept { FcConfigDestroy(config); }
};

using FcPatternGuard = std::unique_ptr<FcPattern, FcPatternDone>;
using FcConfigGuard = std::unique_ptr<FcConfig, FcConfigDone>;

}  // namespace minihost::text
