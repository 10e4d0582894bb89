// The search for the texture records' type name, the one part of the scan that touches
// every byte of a model: a byte search for any processor and an SSE2 one, chosen at run time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

inline constexpr std::string_view kTextureTypeName = "NiSourceTexture";

// Both find the same positions in every input.
enum class TypeNameSearch {
  kBytes,   // memchr for "N", each candidate judged by the name's last byte: any processor
  kVector,  // 64 start positions at a time with SSE2, which every x86-64 processor has
};

// kVector where the processor has SSE2 (asked once), else kBytes.
TypeNameSearch BestTypeNameSearch();

// Position of the next kTextureTypeName at or after `from`, or file.size() if none; the
// best search.
std::size_t FindTextureTypeName(std::span<const std::uint8_t> file, std::size_t from);

// The same with a given search (kVector only where BestTypeNameSearch() is kVector): tests and
// the bench compare both. Asked for kVector elsewhere, it searches byte by byte.
std::size_t FindTextureTypeNameWith(TypeNameSearch search, std::span<const std::uint8_t> file,
                                    std::size_t from);
