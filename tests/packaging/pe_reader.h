// A small reader for 64-bit Windows PE files (PE32+): machine, flags, the
// names in the export table, the DLLs in the import table and the resources
// with their type, name or id, language and bytes. Enough to check a built
// .aex without running it. Throws std::runtime_error on a malformed file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace packaging_test {

struct PeResource {
    std::string typeName;  // empty when the type is a number
    std::uint32_t typeId = 0;
    std::string name;  // empty when the resource is a number
    std::uint32_t id = 0;
    std::uint32_t language = 0;
    std::vector<std::uint8_t> data;
};

struct PeFile {
    std::uint16_t machine = 0;
    std::uint16_t characteristics = 0;
    std::vector<std::string> exports;  // named exports, in the table's order
    std::vector<std::string> imports;  // DLL names, as spelled in the file
    std::vector<PeResource> resources;
};

PeFile readPe(const std::vector<std::uint8_t>& file);

std::vector<std::uint8_t> readFileBytes(const std::string& path);

}  // namespace packaging_test
