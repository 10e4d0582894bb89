// Arbitrary bytes as an archive: a damaged one is refused without reading outside the
// buffer, and the names of one read lie where the header says, each ending inside the name
// block; its tables alone give the same names, one byte less of them gives none. Read from a
// stream, as texmint-cli reads a file, it gives the same answer, the same names or damage.
#include <sstream>
#include <string>
#include <vector>

#include "bsa_archive.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  std::vector<std::string> names, again;
  std::string damage;
  const bool read = ReadArchiveNames(bytes, size, names, damage);
  FUZZ_CHECK(read == damage.empty() && (read || names.empty()));
  std::istringstream stream(std::string(reinterpret_cast<const char*>(data), size));
  std::string error;
  FUZZ_CHECK(ReadArchiveStreamNames(stream, size, again, error) == read && again == names &&
             error == damage);
  if (!read) return 0;

  // The format read the plain way, each field checked to lie inside the buffer.
  const auto u32 = [&](std::uint64_t at) {
    FUZZ_CHECK(at + 4 <= size);
    return std::uint32_t(data[at]) | std::uint32_t(data[at + 1]) << 8 |
           std::uint32_t(data[at + 2]) << 16 | std::uint32_t(data[at + 3]) << 24;
  };
  const std::uint64_t count = u32(8), blockAt = 12 + 12 * count, hashesAt = 12 + u32(4);
  FUZZ_CHECK(u32(0) == 0x100 && names.size() == count);
  FUZZ_CHECK(blockAt <= hashesAt && hashesAt + 8 * count <= size);
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::string& name = names[i];
    const std::uint64_t at = blockAt + u32(12 + 8 * count + 4 * i), end = at + name.size();
    FUZZ_CHECK(end < hashesAt && data[end] == 0 && name.find('\0') == name.npos);
    FUZZ_CHECK(name == std::string_view(reinterpret_cast<const char*>(data) + at, name.size()));
    FUZZ_CHECK(hashesAt + 8 * count + u32(12 + 8 * i) + u32(16 + 8 * i) <= size);
  }
  FUZZ_CHECK(ReadArchiveNames(bytes.first(hashesAt), size, again, damage) && again == names);
  FUZZ_CHECK(!ReadArchiveNames(bytes.first(hashesAt - 1), size, again, damage) && again.empty());
  return 0;
}
