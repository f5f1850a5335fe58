// Move-only owners of HarfBuzz objects. HarfBuzz counts references; each guard
// holds one and gives it back exactly once.
#pragma once

#include <memory>

#include <hb.h>

namespace minihost::text {

struct HbBlobDone {
    void operator()(hb_blob_t* blob) const noexcept { hb_blob_destroy(blob); }
};
struct HbFaceDone {
    void operator()(hb_face_t* face) const noexcept { hb_face_destroy(face); }
};
struct HbFontDone {
    void operator()(hb_font_t* font) const noexcept { hb_font_destroy(font); }
};
struct HbBufferDone {
    void operator()(hb_buffer_t* buffer) const noexcept { hb_buffer_destroy(buffer); }
};

using HbBlob = std::unique_ptr<hb_blob_t, HbBlobDone>;
using HbFace = std::unique_ptr<hb_face_t, HbFaceDone>;
using HbFont = std::unique_ptr<hb_font_t, HbFontDone>;
using HbBuffer = std::unique_ptr<hb_buffer_t, HbBufferDone>;

}  // namespace minihost::text
