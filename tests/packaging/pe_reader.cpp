#include "pe_reader.h"

#include <cstddef>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <utility>

namespace packaging_test {
namespace {

constexpr std::uint16_t kPe32Plus = 0x20b;
constexpr std::uint32_t kHighBit = 0x80000000u;
constexpr int kMaxResourceDepth = 3;  // type, name, language

struct Section {
    std::uint32_t virtualAddress, virtualSize, rawOffset, rawSize;
};

class Image {
public:
    explicit Image(const std::vector<std::uint8_t>& file) : f_(file) {}

    std::uint32_t u(std::size_t at, int size) const {
        if (at > f_.size() || f_.size() - at < static_cast<std::size_t>(size)) {
            throw std::runtime_error("PE file ends early at byte " + std::to_string(at));
        }
        std::uint32_t v = 0;
        for (int i = size - 1; i >= 0; --i) {
            v = (v << 8) | f_[at + static_cast<std::size_t>(i)];
        }
        return v;
    }
    std::uint16_t u16(std::size_t at) const { return static_cast<std::uint16_t>(u(at, 2)); }
    std::uint32_t u32(std::size_t at) const { return u(at, 4); }

    // File offset of an address inside the loaded image.
    std::size_t offset(std::uint32_t rva) const {
        for (const Section& s : sections) {
            const std::uint32_t span = s.virtualSize > s.rawSize ? s.virtualSize : s.rawSize;
            if (rva >= s.virtualAddress && rva - s.virtualAddress < span) {
                if (rva - s.virtualAddress >= s.rawSize) {
                    throw std::runtime_error("address has no bytes in the file");
                }
                return static_cast<std::size_t>(s.rawOffset) + (rva - s.virtualAddress);
            }
        }
        throw std::runtime_error("address outside every section");
    }

    std::string cString(std::uint32_t rva) const {
        std::size_t at = offset(rva);
        std::string s;
        while (true) {
            const auto c = static_cast<char>(u(at++, 1));
            if (c == '\0') {
                return s;
            }
            s.push_back(c);
        }
    }

    std::vector<std::uint8_t> bytes(std::uint32_t rva, std::uint32_t size) const {
        const std::size_t at = offset(rva);
        if (size > 0) {
            u(at + size - 1, 1);  // all of it lies in the file
        }
        return {f_.begin() + static_cast<std::ptrdiff_t>(at), f_.begin() + static_cast<std::ptrdiff_t>(at + size)};
    }

    std::vector<Section> sections;

private:
    const std::vector<std::uint8_t>& f_;
};

// Resource names are a 16-bit count of UTF-16 units; ours are ASCII.
std::string resourceName(const Image& img, std::size_t rsrc, std::uint32_t offset) {
    const std::size_t at = rsrc + offset;
    const std::uint16_t length = img.u16(at);
    std::string s;
    for (std::uint16_t i = 0; i < length; ++i) {
        const std::uint16_t unit = img.u16(at + 2 + 2u * i);
        s.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
    }
    return s;
}

void walkResources(const Image& img, std::size_t rsrc, std::uint32_t dir, int depth, PeResource path,
                   std::vector<PeResource>& out) {
    if (depth >= kMaxResourceDepth) {
        throw std::runtime_error("resource tree deeper than type, name and language");
    }
    const std::size_t at = rsrc + dir;
    const std::uint32_t entries = std::uint32_t{img.u16(at + 12)} + img.u16(at + 14);
    for (std::uint32_t i = 0; i < entries; ++i) {
        const std::size_t entry = at + 16 + 8u * i;
        const std::uint32_t nameField = img.u32(entry);
        const std::uint32_t target = img.u32(entry + 4);
        PeResource next = path;
        const bool named = (nameField & kHighBit) != 0;
        const std::string name = named ? resourceName(img, rsrc, nameField & ~kHighBit) : std::string();
        const std::uint32_t id = named ? 0 : nameField;
        if (depth == 0) {
            next.typeName = name;
            next.typeId = id;
        } else if (depth == 1) {
            next.name = name;
            next.id = id;
        } else {
            next.language = id;
        }
        if ((target & kHighBit) != 0) {
            walkResources(img, rsrc, target & ~kHighBit, depth + 1, next, out);
        } else {
            if (depth != kMaxResourceDepth - 1) {
                throw std::runtime_error("resource data above the language level");
            }
            const std::size_t leaf = rsrc + target;
            next.data = img.bytes(img.u32(leaf), img.u32(leaf + 4));
            out.push_back(std::move(next));
        }
    }
}

}  // namespace

PeFile readPe(const std::vector<std::uint8_t>& file) {
    Image img(file);
    if (img.u16(0) != 0x5a4d) {
        throw std::runtime_error("no MZ header");
    }
    const std::size_t pe = img.u32(0x3c);
    if (img.u32(pe) != 0x00004550) {
        throw std::runtime_error("no PE signature");
    }
    PeFile result;
    const std::size_t coff = pe + 4;
    result.machine = img.u16(coff);
    const std::uint16_t sectionCount = img.u16(coff + 2);
    const std::uint16_t optionalSize = img.u16(coff + 16);
    result.characteristics = img.u16(coff + 18);
    const std::size_t opt = coff + 20;
    if (img.u16(opt) != kPe32Plus) {
        throw std::runtime_error("not a 64-bit (PE32+) image");
    }
    const std::uint32_t directoryCount = img.u32(opt + 108);
    const auto directory = [&](std::uint32_t index) -> std::pair<std::uint32_t, std::uint32_t> {
        if (index >= directoryCount) {
            return {0, 0};
        }
        return {img.u32(opt + 112 + 8u * index), img.u32(opt + 116 + 8u * index)};
    };
    const std::size_t table = opt + optionalSize;
    for (std::uint16_t i = 0; i < sectionCount; ++i) {
        const std::size_t s = table + 40u * i;
        img.sections.push_back({img.u32(s + 12), img.u32(s + 8), img.u32(s + 20), img.u32(s + 16)});
    }

    if (const auto [rva, size] = directory(0); rva != 0 && size != 0) {
        const std::size_t exp = img.offset(rva);
        const std::uint32_t names = img.u32(exp + 24);
        const std::uint32_t namePointers = img.u32(exp + 32);
        for (std::uint32_t i = 0; i < names; ++i) {
            result.exports.push_back(img.cString(img.u32(img.offset(namePointers) + 4u * i)));
        }
    }
    if (const auto [rva, size] = directory(1); rva != 0 && size != 0) {
        for (std::size_t d = img.offset(rva);; d += 20) {
            const std::uint32_t nameRva = img.u32(d + 12);
            if (nameRva == 0 && img.u32(d + 16) == 0) {
                break;
            }
            result.imports.push_back(img.cString(nameRva));
        }
    }
    if (const auto [rva, size] = directory(2); rva != 0 && size != 0) {
        walkResources(img, img.offset(rva), 0, 0, PeResource{}, result.resources);
    }
    return result;
}

std::vector<std::uint8_t> readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot open " + path);
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace packaging_test
