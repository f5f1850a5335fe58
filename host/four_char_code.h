// Four characters packed into 32 bits with the first character in the
// highest byte, as the host's property lists, application ids and resource
// types are written ('FXTC', 'PiPL', ...). Pixel-format codes are packed the
// other way round and come ready-made from AE_EffectPixelFormat.h.
#pragma once

#include "A.h"

constexpr A_u_long fourCharCode(char a, char b, char c, char d) {
    return (static_cast<A_u_long>(static_cast<unsigned char>(a)) << 24) |
           (static_cast<A_u_long>(static_cast<unsigned char>(b)) << 16) |
           (static_cast<A_u_long>(static_cast<unsigned char>(c)) << 8) |
           static_cast<A_u_long>(static_cast<unsigned char>(d));
}
