// The property list (the host's PiPL resource) that the host reads before it
// runs any of the plug-in's code: kind, name, category, entry point, versions
// and flag words. Every value comes from host/identity.h; this file only lays
// them out in the resource's binary form.
//
// A list is a header followed by properties. Each property is four 32-bit
// words (vendor '8BIM', key, number 0, data length) and its data, followed by
// zero bytes up to the next multiple of four. The two systems count lengths
// differently: the Windows list's string data carries its own padding, so its
// length counts it; the Mac list is what the host's resource compiler makes of
// its template, where a length is taken before the padding (and every string,
// the Mac entry points included, is a Pascal string). The 16-bit info flags'
// padding is counted on neither.
//
// Built on the build machine (the generator and the tests), never linked into
// the plug-in.
#pragma once

#include <cstdint>
#include <vector>

#include "AE_Effect.h"
#include "host/four_char_code.h"

namespace pipl {

/// The resource that holds the list, on both systems.
inline constexpr A_short kResourceId = 16000;
/// Windows resource type name and language (U.S. English, 0x0409).
inline constexpr char kWindowsResourceType[] = "PIPL";
inline constexpr A_u_short kWindowsLanguage = 1033;
/// Mac resource type; the resource manager there tells case apart.
inline constexpr A_u_long kMacResourceType = fourCharCode('P', 'i', 'P', 'L');

/// Property keys of the entry point, one per platform and processor.
inline constexpr A_u_long kWindowsX64CodeKey = fourCharCode('8', '6', '6', '4');
inline constexpr A_u_long kMacX64CodeKey = fourCharCode('m', 'i', '6', '4');
inline constexpr A_u_long kMacArm64CodeKey = fourCharCode('m', 'a', '6', '4');

/// Windows x64: little-endian, led by the 16-bit word 1 that Windows
/// resources carry before the list, entry point under '8664'. 286 bytes.
std::vector<std::uint8_t> windowsPropertyList();

/// macOS, both processors: big-endian (the byte order of Mac resources, which
/// the host reads as such on every Mac), no leading 16-bit word, lengths
/// without padding, and the entry point as a Pascal string twice, under
/// 'mi64' (Intel) and 'ma64' (Apple silicon) where Windows has '8664'.
/// 13 properties, 312 bytes.
std::vector<std::uint8_t> macPropertyList();

}  // namespace pipl
