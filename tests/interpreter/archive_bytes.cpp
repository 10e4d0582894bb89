#include "archive_bytes.h"

#include "model_bytes.h"

std::vector<std::uint8_t> ArchiveBytes(std::span<const std::string> names) {
  const auto count = std::uint32_t(names.size());
  std::string records, offsets, block;
  for (const std::string& name : names) {
    records += U32(0) + U32(0);  // no data
    offsets += U32(std::uint32_t(block.size()));
    block += name + '\0';
  }
  const std::string bytes = U32(0x100) + U32(std::uint32_t(12 * count + block.size())) +
                            U32(count) + records + offsets + block + std::string(8 * count, '\0');
  return {bytes.begin(), bytes.end()};
}
