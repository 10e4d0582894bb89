#include "model_bytes.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::string_view kHeader = "NetImmerse File Format";
constexpr std::string_view kTypeName = "NiSourceTexture";

}  // namespace

std::string U32(std::uint32_t value) {
  return {char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
}

std::string TextureRecord(std::string_view path, std::uint8_t flag) {
  return U32(15) + std::string(kTypeName) + std::string(12, '\0') + char(flag) +
         U32(std::uint32_t(path.size())) + std::string(path);
}

std::string ModelNaming(const std::vector<std::string>& paths) {
  std::string model(kVersionedHeader);
  for (const std::string& path : paths) model += TextureRecord(path);
  return model + U32(3) + "End" + U32(0);
}

std::string ArchiveBytes(std::span<const std::string> names) {
  const auto count = std::uint32_t(names.size());
  std::string records, offsets, block;
  for (const std::string& name : names) {
    records += U32(0) + U32(0);  // no data
    offsets += U32(std::uint32_t(block.size()));
    block += name + '\0';
  }
  return U32(0x100) + U32(std::uint32_t(12 * count + block.size())) + U32(count) + records +
         offsets + block + std::string(8 * count, '\0');
}

std::vector<RefSpan> ReferenceScan(std::string_view file) {
  std::vector<RefSpan> refs;
  if (!file.starts_with(kHeader)) return refs;
  for (std::size_t p = kHeader.size(); (p = file.find(kTypeName, p)) != file.npos;) {
    const std::size_t left = file.size() - p;
    if (left >= 32 && file[p + 27] == 1) {
      std::uint32_t length = 0;  // little-endian, as on every machine the tests run on
      std::memcpy(&length, file.data() + p + 28, 4);
      if (left - 32 >= length) {
        refs.push_back({std::uint32_t(p + 28), std::uint32_t(p + 32 + length)});
        p += 32 + length;
        continue;
      }
    }
    p += kTypeName.size();
  }
  return refs;
}

std::string Replaced(std::string_view model, std::vector<std::pair<RefSpan, std::string>> changes) {
  std::ranges::sort(changes, {}, [](const auto& c) { return c.first.lengthOffset; });
  std::string out;
  std::size_t from = 0;
  for (const auto& [ref, path] : changes) {
    out.append(model.substr(from, ref.lengthOffset - from)).append(U32(std::uint32_t(path.size())));
    out += path;
    from = ref.tailOffset;
  }
  return out.append(model.substr(from));
}
