// Bounds-checked reads from a byte image: a read outside the image yields 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::uint8_t U8(std::size_t offset) const {
    return offset < bytes_.size() ? bytes_[offset] : 0;
  }

  std::uint32_t U32LE(std::size_t offset) const {
    if (!Holds(offset, 4)) return 0;
    const auto b = bytes_.subspan(offset, 4);
    return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
           std::uint32_t(b[3]) << 24;
  }

  // True when `count` bytes from `offset` lie inside the image (no overflow).
  bool Holds(std::size_t offset, std::size_t count) const {
    return offset <= bytes_.size() && bytes_.size() - offset >= count;
  }

 private:
  std::span<const std::uint8_t> bytes_;
};
