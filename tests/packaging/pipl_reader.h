// Reads a property list back into its fields, independently of the code that
// writes it, so that tests compare the bytes with the table field by field.
// Throws std::runtime_error on anything malformed: a short or overlong list,
// a length that runs past the end, non-zero padding.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace packaging_test {

enum class Endian { little, big };

struct Property {
    std::uint32_t vendor = 0;
    std::uint32_t key = 0;
    std::uint32_t number = 0;
    std::uint32_t length = 0;
    std::vector<std::uint8_t> data;  // exactly `length` bytes
};

struct PropertyList {
    bool leadingWord = false;  // the Windows 16-bit word before the list
    std::uint16_t leadingValue = 0;
    std::uint32_t version = 0;
    std::vector<Property> properties;
};

/// Reads a whole list; `leadingWord` says whether a 16-bit word precedes it.
PropertyList readPropertyList(const std::vector<std::uint8_t>& bytes, Endian endian, bool leadingWord);

/// A four-character code from its text, first character most significant.
std::uint32_t code(const char (&text)[5]);

std::uint32_t u32(const std::vector<std::uint8_t>& data, std::size_t at, Endian endian);
std::uint16_t u16(const std::vector<std::uint8_t>& data, std::size_t at, Endian endian);

}  // namespace packaging_test
