#include "pipl_reader.h"

#include <cstddef>
#include <stdexcept>
#include <utility>

namespace packaging_test {

namespace {
void need(const std::vector<std::uint8_t>& data, std::size_t at, std::size_t size) {
    if (at > data.size() || data.size() - at < size) {
        throw std::runtime_error("property list ends early at byte " + std::to_string(at));
    }
}
}  // namespace

std::uint32_t u32(const std::vector<std::uint8_t>& data, std::size_t at, Endian endian) {
    need(data, at, 4);
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t byte = endian == Endian::big ? i : 3 - i;
        v = (v << 8) | data[at + byte];
    }
    return v;
}

std::uint16_t u16(const std::vector<std::uint8_t>& data, std::size_t at, Endian endian) {
    need(data, at, 2);
    return endian == Endian::big ? static_cast<std::uint16_t>((data[at] << 8) | data[at + 1])
                                 : static_cast<std::uint16_t>((data[at + 1] << 8) | data[at]);
}

std::uint32_t code(const char (&text)[5]) {
    return (static_cast<std::uint32_t>(static_cast<unsigned char>(text[0])) << 24) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(text[1])) << 16) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(text[2])) << 8) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(text[3]));
}

PropertyList readPropertyList(const std::vector<std::uint8_t>& bytes, Endian endian, bool leadingWord) {
    PropertyList list;
    std::size_t at = 0;
    list.leadingWord = leadingWord;
    if (leadingWord) {
        list.leadingValue = u16(bytes, at, endian);
        at += 2;
    }
    list.version = u32(bytes, at, endian);
    const std::uint32_t count = u32(bytes, at + 4, endian);
    at += 8;
    for (std::uint32_t i = 0; i < count; ++i) {
        Property p;
        p.vendor = u32(bytes, at, endian);
        p.key = u32(bytes, at + 4, endian);
        p.number = u32(bytes, at + 8, endian);
        p.length = u32(bytes, at + 12, endian);
        at += 16;
        need(bytes, at, p.length);
        p.data.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                      bytes.begin() + static_cast<std::ptrdiff_t>(at + p.length));
        at += p.length;
        const std::size_t padding = (4 - p.length % 4) % 4;
        need(bytes, at, padding);
        for (std::size_t k = 0; k < padding; ++k) {
            if (bytes[at + k] != 0) {
                throw std::runtime_error("non-zero padding after property " + std::to_string(i));
            }
        }
        at += padding;
        list.properties.push_back(std::move(p));
    }
    if (at != bytes.size()) {
        throw std::runtime_error(std::to_string(bytes.size() - at) + " bytes after the last property");
    }
    return list;
}

}  // namespace packaging_test
