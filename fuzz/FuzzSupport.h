// Helpers shared by the fuzz targets.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "platform/FileSystem.h"

namespace orvane::fuzz {

// Hands out a byte buffer in pieces whose sizes come from the data itself, so that line
// splitting is tried across every kind of boundary.
class BufferReader final : public platform::ByteReader {
public:
    BufferReader(std::string_view data, std::size_t piece) : data_(data), piece_(piece ? piece : 1) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        std::size_t n = std::min({size, piece_, data_.size()});
        std::memcpy(buffer, data_.data(), n);
        data_.remove_prefix(n);
        return n;
    }

private:
    std::string_view data_;
    std::size_t piece_;
};

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace orvane::fuzz
