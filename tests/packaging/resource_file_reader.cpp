#include "resource_file_reader.h"

#include <cstddef>
#include <stdexcept>
#include <string>
#include <utility>

#include "pipl_reader.h"

namespace packaging_test {

MacResourceFile readResourceFile(const std::vector<std::uint8_t>& file) {
    constexpr Endian big = Endian::big;
    MacResourceFile r;
    r.dataOffset = u32(file, 0, big);
    r.mapOffset = u32(file, 4, big);
    r.dataLength = u32(file, 8, big);
    r.mapLength = u32(file, 12, big);
    if (r.dataOffset < 16 || std::size_t{r.dataOffset} + r.dataLength > r.mapOffset ||
        std::size_t{r.mapOffset} + r.mapLength != file.size()) {
        throw std::runtime_error("resource header does not describe the file");
    }
    const std::size_t map = r.mapOffset;
    const std::size_t typeList = map + u16(file, map + 24, big);
    const std::size_t nameList = map + u16(file, map + 26, big);
    if (nameList > file.size() || typeList >= nameList) {
        throw std::runtime_error("type or name list outside the map");
    }
    const int types = u16(file, typeList, big) + 1;
    for (int t = 0; t < types; ++t) {
        const std::size_t entry = typeList + 2 + 8u * static_cast<std::size_t>(t);
        const std::uint32_t type = u32(file, entry, big);
        const int count = u16(file, entry + 4, big) + 1;
        const std::size_t refs = typeList + u16(file, entry + 6, big);
        for (int k = 0; k < count; ++k) {
            const std::size_t ref = refs + 12u * static_cast<std::size_t>(k);
            if (ref + 12 > nameList) {
                throw std::runtime_error("reference list runs into the name list");
            }
            MacResource res;
            res.type = type;
            res.id = static_cast<std::int16_t>(u16(file, ref, big));
            res.nameOffset = u16(file, ref + 2, big);
            const std::uint32_t attrAndOffset = u32(file, ref + 4, big);
            res.attributes = static_cast<std::uint8_t>(attrAndOffset >> 24);
            const std::size_t at = std::size_t{r.dataOffset} + (attrAndOffset & 0xffffffu);
            const std::uint32_t length = u32(file, at, big);
            if (at + 4 + length > std::size_t{r.dataOffset} + r.dataLength) {
                throw std::runtime_error("resource data runs past the data area");
            }
            res.data.assign(file.begin() + static_cast<std::ptrdiff_t>(at + 4),
                            file.begin() + static_cast<std::ptrdiff_t>(at + 4 + length));
            r.resources.push_back(std::move(res));
        }
    }
    return r;
}

}  // namespace packaging_test
