#include "minihost/text/ft_guards.h"

#include "minihost/text/text_error.h"

namespace minihost::text {

FtLibrary newFtLibrary() {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0 || library == nullptr) {
        throw TextError("FreeType could not be started");
    }
    return FtLibrary(library);
}

FtFace newFtFace(FT_Library library, const std::string& path, long face_index) {
    FT_Face face = nullptr;
    if (FT_New_Face(library, path.c_str(), face_index, &face) != 0 || face == nullptr) {
        throw TextError("cannot open font file \"" + path + "\"");
    }
    FtFace guard(face);
    if (!FT_IS_SCALABLE(face)) {
        throw TextError("font file \"" + path + "\" has no outlines");
    }
    return guard;
}

}  // namespace minihost::text
