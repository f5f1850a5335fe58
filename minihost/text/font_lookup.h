// Finding the font file for a family name or a path.
#pragma once

#include <string>

namespace minihost::text {

// The family used when none is asked for (Debian's fonts-dejavu-core).
inline constexpr const char* kDefaultFontFamily = "DejaVu Sans";

struct FontFile {
    std::string path;
    long face_index = 0;  // which face of a collection file
};

// An existing file is taken as it is (face 0). Anything else is a fontconfig
// pattern: a family name, optionally with a style ("DejaVu Sans:style=Bold",
// "DejaVu Sans:bold"). A fallback that fontconfig offers for a family it does
// not have, or a style the family does not have, is refused, since rendering
// in another font than the one asked for would mislead; the message names the
// installed family closest in spelling, or the family's styles. Throws
// TextError with a one-line message.
FontFile findFont(const std::string& family_or_file);

}  // namespace minihost::text
