// Builds small model images byte by byte for tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

struct ModelBuilder {
  Bytes bytes;

  // Starts with the header text, optionally followed by a version phrase.
  static ModelBuilder NetImmerse(std::string_view after = "");

  ModelBuilder& Raw(std::string_view text);
  ModelBuilder& U8(std::uint8_t value);
  ModelBuilder& U32(std::uint32_t value);
  ModelBuilder& Zeros(std::size_t count);

  // An unnamed texture record: type name with its length, 12 bytes, flag, length, path.
  // Returns the offset of the path's length field.
  std::uint32_t TextureRecord(std::string_view path, std::uint8_t flag = 1);

  std::uint32_t size() const { return static_cast<std::uint32_t>(bytes.size()); }
};

std::string ToString(const Bytes& bytes);
Bytes ToBytes(std::string_view text);

// The copy the writer must produce: the image with the path at [lengthOffset, tailOffset)
// replaced by a new length and name.
Bytes ExpectedCopy(const Bytes& image, std::uint32_t lengthOffset, std::uint32_t tailOffset,
                   std::string_view name);
std::string ExpectedCopy(std::string_view image, std::uint32_t lengthOffset,
                         std::uint32_t tailOffset, std::string_view name);
