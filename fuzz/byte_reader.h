// Reads a fuzzer's bytes as small typed values; past the end every read
// answers 0, so any input decodes to something.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace qa_fuzz {

class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }

    double rawDouble() {
        std::uint8_t bytes[sizeof(double)] = {};
        for (std::uint8_t& b : bytes) {
            b = byte();
        }
        double value = 0.0;
        std::memcpy(&value, bytes, sizeof value);
        return value;
    }

    bool done() const { return pos_ >= size_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

}  // namespace qa_fuzz
