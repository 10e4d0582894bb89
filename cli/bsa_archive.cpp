#include "bsa_archive.h"

#include <algorithm>
#include <fstream>
#include <string_view>

#include "model/byte_reader.h"

namespace {

constexpr std::size_t kRecordSize = 8;      // file size and data offset
constexpr std::size_t kNameOffsetSize = 4;  // into the name block
constexpr std::size_t kHashSize = 8;

struct ArchiveHeader {
  std::uint64_t hashesAt = 0;  // 64 bits: the offset read plus the header's size can exceed 4 GiB
  std::uint32_t count = 0;
};

// The header, checked against the archive's size, so that a damaged count is refused before
// anything is reserved for it: its records and name offsets must fit before the hash table,
// and the hash table inside the archive.
bool ReadHeader(std::span<const std::uint8_t> bytes, std::uint64_t archiveSize,
                ArchiveHeader& header, std::string& damage) {
  ByteReader reader(bytes);
  const std::uint32_t version = reader.U32LE(0);
  const std::uint32_t hashOffset = reader.U32LE(4);
  header.hashesAt = kArchiveHeaderSize + std::uint64_t{hashOffset};
  header.count = reader.U32LE(8);
  if (reader.Failed()) {
    damage = "it is too short to be an archive";
  } else if (version != kArchiveVersion) {
    damage = "it is not a Morrowind archive (its version is not 0x100)";
  } else if (std::uint64_t{header.count} * (kRecordSize + kNameOffsetSize) > hashOffset) {
    damage = "its header counts more files than its tables hold";
  } else if (header.hashesAt + std::uint64_t{header.count} * kHashSize > archiveSize) {
    damage = "its hash table lies past its end";
  } else {
    return true;
  }
  return false;
}

}  // namespace

bool ReadArchiveNames(std::span<const std::uint8_t> head, std::uint64_t archiveSize,
                      std::vector<std::string>& names, std::string& damage) {
  names.clear();
  ArchiveHeader header;
  if (!ReadHeader(head, archiveSize, header, damage)) return false;
  const std::uint64_t hashesAt = header.hashesAt;
  if (head.size() < hashesAt) {
    damage = "it ends before its file names do";
    return false;
  }
  // From here every table lies inside `head`, whose size a std::size_t holds.
  const std::size_t recordsAt = kArchiveHeaderSize;
  const std::size_t offsetsAt = recordsAt + header.count * kRecordSize;
  const std::size_t blockAt = offsetsAt + header.count * kNameOffsetSize;
  const std::uint64_t dataAt = hashesAt + std::uint64_t{header.count} * kHashSize;
  const std::string_view block(reinterpret_cast<const char*>(head.data()) + blockAt,
                               std::size_t(hashesAt) - blockAt);
  ByteReader reader(head);
  names.reserve(header.count);
  for (std::size_t i = 0; i < header.count; ++i) {
    const std::uint32_t size = reader.U32LE(recordsAt + i * kRecordSize);
    const std::uint32_t offset = reader.U32LE(recordsAt + i * kRecordSize + 4);
    const std::uint32_t nameAt = reader.U32LE(offsetsAt + i * kNameOffsetSize);
    const std::size_t end = nameAt < block.size() ? block.find('\0', nameAt) : block.npos;
    if (dataAt + offset + size > archiveSize) {
      damage = "the data of its file " + std::to_string(i) + " lies past its end";
    } else if (end == block.npos) {
      damage = "the name of its file " + std::to_string(i) + " does not end in its name block";
    } else {
      names.emplace_back(block.substr(nameAt, end - nameAt));
      continue;
    }
    names.clear();
    return false;
  }
  return true;
}

bool ReadArchiveStreamNames(std::istream& in, std::uint64_t archiveSize,
                            std::vector<std::string>& names, std::string& error) {
  names.clear();
  std::vector<std::uint8_t> head(std::min<std::uint64_t>(archiveSize, kArchiveHeaderSize));
  // Reads the bytes of `head` from `from` on.
  const auto readFrom = [&](std::size_t from) {
    if (in.read(reinterpret_cast<char*>(head.data() + from), std::streamsize(head.size() - from)))
      return true;
    error = "it could not be read";
    return false;
  };
  ArchiveHeader header;
  if (!readFrom(0) || !ReadHeader(head, archiveSize, header, error)) return false;
  // The header has shown that its tables lie inside the archive; only they are read, when
  // they fit in memory (a 32-bit process cannot hold 4 GiB of them).
  if (header.hashesAt > head.max_size()) {
    error = "it could not be read";
    return false;
  }
  head.resize(std::size_t(header.hashesAt));
  return readFrom(kArchiveHeaderSize) && ReadArchiveNames(head, archiveSize, names, error);
}

bool ReadArchiveFileNames(const std::filesystem::path& file, std::vector<std::string>& names,
                          std::string& error) {
  names.clear();
  std::error_code sizeError;
  const std::uint64_t archiveSize = std::filesystem::file_size(file, sizeError);
  std::ifstream in;
  in.rdbuf()->pubsetbuf(nullptr, 0);  // unbuffered: no read ahead into the file data
  in.open(file, std::ios::binary);
  if (sizeError || !in) {
    error = "it cannot be opened";
    return false;
  }
  return ReadArchiveStreamNames(in, archiveSize, names, error);
}
