// Values of the layer and render settings as a user writes them, shared by
// the command line and scene files. Each parser throws InputError with a
// message that names what it accepts.
#pragma once

#include <string>

#include "minihost/core/host_config.h"
#include "minihost/text/font.h"
#include "minihost/text/text_layout.h"

namespace minihost::preview {

inline constexpr double kMinFontSize = 1.0;
inline constexpr double kMaxFontSize = 2000.0;
inline constexpr int kMaxDownsample = 16;
inline constexpr int kMaxCompSide = 8192;

struct Color {
    double r = 0, g = 0, b = 0, a = 255;  // 0 to 255
};

// "#rgb", "#rrggbb", "#rrggbbaa" or "r,g,b[,a]" with channels 0 to 255.
Color parseColor(const std::string& text);
// "x,y".
A_FloatPoint parsePoint(const std::string& text);
// "s" (both axes) or "sx,sy", in percent.
A_FloatPoint parseScale(const std::string& text);
// "WIDTHxHEIGHT", each 1 to kMaxCompSide.
std::pair<int, int> parseCompSize(const std::string& text);
// "8", "16" or "32".
Depth parseDepth(const std::string& text);
// "high" or "low".
PF_Quality parseQuality(const std::string& text);
// "FXTC" (After Effects) or "PrMr" (Premiere Pro).
A_long parseApplId(const std::string& text);
// "horizontal" or "vertical".
text::Flow parseOrientation(const std::string& text);
// "left", "center", "right" (also "top", "bottom" for vertical text).
text::Align parseParagraph(const std::string& text);

}  // namespace minihost::preview
