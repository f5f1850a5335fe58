// The host's four-character codes: application ids ('FXTC', 'PrMr') and
// resource types, four characters in 32 bits with the first character in
// the most significant byte, as a multi-character literal packs them and as
// the host's SP error codes read ('!IMP' is 0x21494D50). Pixel-format codes
// are packed the other way round and come ready-made from
// AE_EffectPixelFormat.h.
//
// The stand-in host keeps its own helper: a byte-order fault in the
// effect's would otherwise be invisible to every test that compares the two.
#pragma once

#include "A.h"

namespace minihost {

/// The code of the first four characters of text, e.g. fourChars("PrMr").
constexpr A_u_long fourChars(const char* text) {
    A_u_long code = 0;
    for (int i = 0; i < 4; ++i) {
        code = code * 0x100u + static_cast<unsigned char>(text[i]);
    }
    return code;
}

}  // namespace minihost
