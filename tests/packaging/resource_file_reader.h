// Reads a Mac resource file (data-fork form) back into its resources, checking
// the header, the map's offsets and every reference against the file's size.
// Throws std::runtime_error on anything inconsistent.
#pragma once

#include <cstdint>
#include <vector>

namespace packaging_test {

struct MacResource {
    std::uint32_t type = 0;
    std::int16_t id = 0;
    std::uint16_t nameOffset = 0;  // 0xffff: unnamed
    std::uint8_t attributes = 0;
    std::vector<std::uint8_t> data;
};

struct MacResourceFile {
    std::uint32_t dataOffset = 0, mapOffset = 0, dataLength = 0, mapLength = 0;
    std::vector<MacResource> resources;
};

MacResourceFile readResourceFile(const std::vector<std::uint8_t>& file);

}  // namespace packaging_test
