// Bounds-checked reads from a byte image. A read outside the image yields 0 and sets a
// failure flag that stays set, so a caller can do several reads and check once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::uint8_t U8(std::size_t offset) {
    if (offset >= bytes_.size()) return Fail();
    return bytes_[offset];
  }

  std::uint32_t U32LE(std::size_t offset) {
    if (offset > bytes_.size() || bytes_.size() - offset < 4) return Fail();
    const auto b = bytes_.subspan(offset, 4);
    return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
           std::uint32_t(b[3]) << 24;
  }

  // True when `count` bytes from `offset` lie inside the image (no overflow).
  bool Holds(std::size_t offset, std::size_t count) const {
    return offset <= bytes_.size() && bytes_.size() - offset >= count;
  }

  bool Failed() const { return failed_; }

 private:
  std::uint8_t Fail() {
    failed_ = true;
    return 0;
  }

  std::span<const std::uint8_t> bytes_;
  bool failed_ = false;
};
