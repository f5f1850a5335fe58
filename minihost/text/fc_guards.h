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

struct FcFontSetDone {
    void operator()(FcFontSet* set) const noexcept { FcFontSetDestroy(set); }
};

struct FcObjectSetDone {
    void operator()(FcObjectSet* set) const noexcept { FcObjectSetDestroy(set); }
};

using FcPatternGuard = std::unique_ptr<FcPattern, FcPatternDone>;
using FcFontSetGuard = std::unique_ptr<FcFontSet, FcFontSetDone>;
using FcObjectSetGuard = std::unique_ptr<FcObjectSet, FcObjectSetDone>;
using FcConfigGuard = std::unique_ptr<FcConfig, FcConfigDone>;

}  // namespace minihost::text
