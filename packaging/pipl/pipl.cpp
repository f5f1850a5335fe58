#include "packaging/pipl/pipl.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

#include "host/four_char_code.h"
#include "host/identity.h"

namespace pipl {
namespace {

enum class ByteOrder { little, big };

// Appends numbers in one byte order; strings are bytes either way.
class Writer {
public:
    explicit Writer(ByteOrder order) : order_(order) {}

    void u16(A_u_short value) { put(value, 2); }
    void u32(A_u_long value) { put(value, 4); }
    void bytes(const std::vector<std::uint8_t>& data) { out_.insert(out_.end(), data.begin(), data.end()); }
    void zeros(std::size_t count) { out_.insert(out_.end(), count, std::uint8_t{0}); }
    std::vector<std::uint8_t> take() { return std::move(out_); }

private:
    void put(A_u_long value, int size) {
        for (int i = 0; i < size; ++i) {
            const int shift = order_ == ByteOrder::little ? 8 * i : 8 * (size - 1 - i);
            out_.push_back(static_cast<std::uint8_t>((value >> shift) & 0xffu));
        }
    }

    ByteOrder order_;
    std::vector<std::uint8_t> out_;
};

std::size_t paddingTo4(std::size_t size) { return (4 - size % 4) % 4; }

// A length byte cannot count more than 255 characters.
static_assert(sizeof(identity::kName) <= 256 && sizeof(identity::kCategory) <= 256 &&
              sizeof(identity::kMatchName) <= 256);

// One length byte and the characters; with `padded`, zeros up to a multiple
// of four as part of the data (the Windows form counts them).
std::vector<std::uint8_t> pascalString(const char* text, bool padded) {
    const std::size_t length = std::strlen(text);
    std::vector<std::uint8_t> data(1 + length + (padded ? paddingTo4(1 + length) : 0), std::uint8_t{0});
    data[0] = static_cast<std::uint8_t>(length);
    std::copy(text, text + length, data.begin() + 1);
    return data;
}

// The characters and their zero byte, zeros up to a multiple of four.
std::vector<std::uint8_t> cString(const char* text) {
    const std::size_t length = std::strlen(text);
    std::vector<std::uint8_t> data(length + 1 + paddingTo4(length + 1), std::uint8_t{0});
    std::copy(text, text + length, data.begin());
    return data;
}

std::vector<std::uint8_t> words16(ByteOrder order, A_u_short first, A_u_short second) {
    Writer w(order);
    w.u16(first);
    w.u16(second);
    return w.take();
}

std::vector<std::uint8_t> word16(ByteOrder order, A_u_short value) {
    Writer w(order);
    w.u16(value);
    return w.take();
}

std::vector<std::uint8_t> word32(ByteOrder order, A_u_long value) {
    Writer w(order);
    w.u32(value);
    return w.take();
}

struct Property {
    A_u_long key;
    std::vector<std::uint8_t> data;  // the length field counts exactly these bytes
};

enum class Platform { windows, mac };

std::vector<std::uint8_t> propertyList(Platform platform) {
    const bool windows = platform == Platform::windows;
    const ByteOrder order = windows ? ByteOrder::little : ByteOrder::big;
    std::vector<Property> properties = {
        {fourCharCode('k', 'i', 'n', 'd'), word32(order, identity::kKind)},
        {fourCharCode('n', 'a', 'm', 'e'), pascalString(identity::kName, windows)},
        {fourCharCode('c', 'a', 't', 'g'), pascalString(identity::kCategory, windows)},
    };
    if (windows) {
        properties.push_back({kWindowsX64CodeKey, cString(identity::kEntryPoint)});
    } else {
        properties.push_back({kMacX64CodeKey, pascalString(identity::kEntryPoint, false)});
        properties.push_back({kMacArm64CodeKey, pascalString(identity::kEntryPoint, false)});
    }
    const std::vector<Property> rest = {
        {fourCharCode('e', 'P', 'V', 'R'), words16(order, identity::kPiPLVersionMajor, identity::kPiPLVersionMinor)},
        {fourCharCode('e', 'S', 'V', 'R'),
         words16(order, static_cast<A_u_short>(identity::kApiMajor), static_cast<A_u_short>(identity::kApiMinor))},
        {fourCharCode('e', 'V', 'E', 'R'), word32(order, identity::kPackedVersion)},
        {fourCharCode('e', 'I', 'N', 'F'), word16(order, identity::kInfoFlags)},
        {fourCharCode('e', 'G', 'L', 'O'), word32(order, static_cast<A_u_long>(identity::kOutFlags))},
        {fourCharCode('e', 'G', 'L', '2'), word32(order, static_cast<A_u_long>(identity::kOutFlags2))},
        {fourCharCode('e', 'M', 'N', 'A'), pascalString(identity::kMatchName, windows)},
        {fourCharCode('a', 'e', 'F', 'L'), word32(order, identity::kPiPLReservedInfo)},
    };
    properties.insert(properties.end(), rest.begin(), rest.end());

    constexpr A_u_long kListVersion = 0;
    constexpr A_u_long kPropertyNumber = 0;

    Writer w(order);
    if (windows) {
        w.u16(1);
    }
    w.u32(kListVersion);
    w.u32(static_cast<A_u_long>(properties.size()));
    for (const Property& p : properties) {
        w.u32(identity::kVendor);
        w.u32(p.key);
        w.u32(kPropertyNumber);
        w.u32(static_cast<A_u_long>(p.data.size()));
        w.bytes(p.data);
        w.zeros(paddingTo4(p.data.size()));
    }
    return w.take();
}

}  // namespace

std::vector<std::uint8_t> windowsPropertyList() { return propertyList(Platform::windows); }

std::vector<std::uint8_t> macPropertyList() { return propertyList(Platform::mac); }

}  // namespace pipl
