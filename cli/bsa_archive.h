// The names of the files a Morrowind archive (.bsa) holds. The game looks a texture up in
// its archives as in its folders, so texmint-cli check needs their names, never their data.
#pragma once

#include <cstdint>
#include <filesystem>
#include <istream>
#include <span>
#include <string>
#include <vector>

// The archive starts with its version, where its hash table begins (counted from the end of
// these 12 bytes) and its file count; the records, name offsets and names lie between.
inline constexpr std::uint32_t kArchiveVersion = 0x100;
inline constexpr std::size_t kArchiveHeaderSize = 12;

// Reads the names from `head`, the archive's bytes from its start up to at least its hash
// table, of an archive of `archiveSize` bytes in all (whose file data `head` need not hold).
// Every offset is checked to lie inside the archive and every name inside the name block;
// false with `damage` saying what does not, and `names` then holds no name.
bool ReadArchiveNames(std::span<const std::uint8_t> head, std::uint64_t archiveSize,
                      std::vector<std::string>& names, std::string& damage);

// Reads the names from `in`, which holds the archive's `archiveSize` bytes from its start,
// reading only its header, records, name offsets and names; false with `error` saying why it
// could not.
bool ReadArchiveStreamNames(std::istream& in, std::uint64_t archiveSize,
                            std::vector<std::string>& names, std::string& error);

// Reads the archive file's names, reading only its header, records, name offsets and names;
// false with `error` saying why it could not.
bool ReadArchiveFileNames(const std::filesystem::path& file, std::vector<std::string>& names,
                          std::string& error);
