// Model files and Morrowind archives (.bsa) for tests, built byte by byte, and the model
// format read the plain way: where each external texture reference lies, and what a copy
// with some of them replaced must hold. Independent of the program's scan, so that each can
// be checked against the other.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

inline constexpr std::string_view kVersionedHeader = "NetImmerse File Format, Version 4.0.0.2\n";

std::string U32(std::uint32_t value);
// A texture record without a name: the type name with its length, 12 bytes, flag, path.
std::string TextureRecord(std::string_view path, std::uint8_t flag = 1);
// The header, one external record per path, then a few bytes of other data.
std::string ModelNaming(const std::vector<std::string>& paths);
// An archive holding one empty file per name, in order (hashes left zero).
std::string ArchiveBytes(std::span<const std::string> names);

struct RefSpan {
  std::uint32_t lengthOffset;  // of the path's 4-byte length
  std::uint32_t tailOffset;    // of the byte after the path
};

// Every external reference in file order, one position at a time: a record counts when its
// flag is 1 and its length and whole path lie inside the file; the search resumes after
// an accepted path, or 15 bytes after a type name passed over.
std::vector<RefSpan> ReferenceScan(std::string_view file);

// `model` with each reference's path replaced by a new length and the new path.
std::string Replaced(std::string_view model, std::vector<std::pair<RefSpan, std::string>> changes);
