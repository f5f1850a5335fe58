// A classic Mac resource file (the data-fork form that Rez -useDF writes and
// that a bundle carries as Contents/Resources/<executable>.rsrc), holding one
// resource. Every number in it is big-endian.
//
// Layout: a 16-byte header (offset and length of the data area and of the
// map), zeros up to byte 256, the data area (each resource as a 32-bit length
// and its bytes), then the map: a copy of the header, 8 reserved bytes, the
// offsets of the type list and of the name list, the type list (count - 1,
// then per type its code, its resource count - 1 and the offset of its
// reference list from the start of the type list), the reference lists
// (12 bytes per resource: id, name offset or -1, attributes, 24-bit offset of
// its data in the data area, 4 reserved bytes) and an empty name list.
#pragma once

#include <cstdint>
#include <vector>

namespace packaging {

/// The whole file holding one unnamed resource of the given type and id.
std::vector<std::uint8_t> resourceFile(std::uint32_t type, std::int16_t id, const std::vector<std::uint8_t>& data);

}  // namespace packaging
