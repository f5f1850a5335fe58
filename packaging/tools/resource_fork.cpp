#include "resource_fork.h"

#include <cstddef>
#include <stdexcept>

namespace packaging {
namespace {

constexpr std::uint32_t kDataOffset = 256;  // header plus the system and application areas
constexpr std::uint16_t kTypeListOffset = 28;
constexpr std::uint16_t kNoName = 0xffff;

class BigEndian {
public:
    void u8(std::uint8_t v) { out.push_back(v); }
    void u16(std::uint16_t v) { put(v, 2); }
    void u24(std::uint32_t v) { put(v, 3); }
    void u32(std::uint32_t v) { put(v, 4); }
    std::vector<std::uint8_t> out;

private:
    void put(std::uint32_t v, int size) {
        for (int i = size - 1; i >= 0; --i) {
            out.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xffu));
        }
    }
};

}  // namespace

std::vector<std::uint8_t> resourceFile(std::uint32_t type, std::int16_t id, const std::vector<std::uint8_t>& data) {
    // The reference list addresses data with 24 bits.
    if (data.size() > 0xfffffbu) {
        throw std::length_error("resource data too large for a resource file");
    }
    const auto dataLength = static_cast<std::uint32_t>(4 + data.size());
    const std::uint16_t referenceListOffset = 2 + 8;  // from the type list: its count, one type entry
    const std::uint16_t nameListOffset = kTypeListOffset + referenceListOffset + 12;
    const std::uint32_t mapLength = nameListOffset;  // the name list is empty
    const std::uint32_t mapOffset = kDataOffset + dataLength;

    BigEndian header;
    header.u32(kDataOffset);
    header.u32(mapOffset);
    header.u32(dataLength);
    header.u32(mapLength);

    BigEndian file;
    file.out = header.out;
    file.out.resize(kDataOffset, 0);

    file.u32(static_cast<std::uint32_t>(data.size()));
    file.out.insert(file.out.end(), data.begin(), data.end());

    // The map starts with a copy of the header, as the resource manager writes it.
    file.out.insert(file.out.end(), header.out.begin(), header.out.end());
    file.u32(0);  // handle to the next map
    file.u16(0);  // file reference number
    file.u16(0);  // fork attributes
    file.u16(kTypeListOffset);
    file.u16(nameListOffset);

    file.u16(0);  // one type
    file.u32(type);
    file.u16(0);  // one resource of it
    file.u16(referenceListOffset);

    file.u16(static_cast<std::uint16_t>(id));
    file.u16(kNoName);
    file.u8(0);   // attributes
    file.u24(0);  // its data is the first in the data area
    file.u32(0);  // handle, filled in by the resource manager when loaded
    return file.out;
}

}  // namespace packaging
