// Move-only owners of FreeType handles. Each releases its handle exactly once,
// on every way out, and never throws while doing so.
#pragma once

#include <memory>
#include <string>
#include <type_traits>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace minihost::text {

struct FtLibraryDone {
    void operator()(FT_Library library) const noexcept { FT_Done_FreeType(library); }
};
struct FtFaceDone {
    void operator()(FT_Face face) const noexcept { FT_Done_Face(face); }
};

// FT_Library is a pointer to an opaque record; unique_ptr of the record type
// keeps the handle and its release together.
using FtLibrary = std::unique_ptr<std::remove_pointer_t<FT_Library>, FtLibraryDone>;
using FtFace = std::unique_ptr<std::remove_pointer_t<FT_Face>, FtFaceDone>;

// A fresh library; throws TextError when FreeType cannot start.
FtLibrary newFtLibrary();

// Face face_index of the font file at path; throws TextError naming the file
// when FreeType cannot open it or it has no scalable outlines.
FtFace newFtFace(FT_Library library, const std::string& path, long face_index);

}  // namespace minihost::text
