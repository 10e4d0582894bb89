#include "support/model_builder.h"

ModelBuilder ModelBuilder::NetImmerse(std::string_view after) {
  ModelBuilder b;
  b.Raw("NetImmerse File Format").Raw(after);
  return b;
}

ModelBuilder& ModelBuilder::Raw(std::string_view text) {
  bytes.insert(bytes.end(), text.begin(), text.end());
  return *this;
}

ModelBuilder& ModelBuilder::U8(std::uint8_t value) {
  bytes.push_back(value);
  return *this;
}

ModelBuilder& ModelBuilder::U32(std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(std::uint8_t(value >> shift));
  return *this;
}

ModelBuilder& ModelBuilder::Zeros(std::size_t count) {
  bytes.insert(bytes.end(), count, 0);
  return *this;
}

std::uint32_t ModelBuilder::TextureRecord(std::string_view path, std::uint8_t flag) {
  U32(15).Raw("NiSourceTexture").Zeros(12).U8(flag);
  const std::uint32_t lengthOffset = size();
  U32(static_cast<std::uint32_t>(path.size())).Raw(path);
  return lengthOffset;
}

std::string ExpectedCopy(std::string_view image, std::uint32_t lengthOffset,
                         std::uint32_t tailOffset, std::string_view name) {
  return ToString(ExpectedCopy(ToBytes(image), lengthOffset, tailOffset, name));
}

std::string ToString(const Bytes& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

Bytes ToBytes(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

Bytes ExpectedCopy(const Bytes& image, std::uint32_t lengthOffset, std::uint32_t tailOffset,
                   std::string_view name) {
  Bytes out(image.begin(), image.begin() + lengthOffset);
  const auto n = static_cast<std::uint32_t>(name.size());
  for (int shift = 0; shift < 32; shift += 8) out.push_back(std::uint8_t(n >> shift));
  out.insert(out.end(), name.begin(), name.end());
  out.insert(out.end(), image.begin() + tailOffset, image.end());
  return out;
}
