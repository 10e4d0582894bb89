// Recognises a NetImmerse model image and finds its external texture references.
// A pure function over the file's bytes: no files, no user interface.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "common/app_state.h"

inline constexpr std::string_view kModelHeader = "NetImmerse File Format";
inline constexpr std::string_view kTextureTypeName = "NiSourceTexture";

enum class ScanStatus {
  kFound,          // at least one external reference
  kNotNetImmerse,  // the header text is missing
  kNoReferences,   // a NetImmerse file without external references
};

struct ScanResult {
  ScanStatus status;
  std::uint32_t refCount;
  bool truncated;  // more references than the table holds; the scan stopped at the limit
};

// Scans `file` (the file's bytes only, no slack) and fills `table` in file order.
// Nothing outside `file` is read and nothing outside `table` is written.
ScanResult ScanTextureRefs(std::span<const std::uint8_t> file,
                           std::span<TextureRef, kMaxTextureRefs> table);

// Position of the next texture type name at or after `from`, or file.size() if none.
// Exposed for the benchmark; the type name's bytes are known to lie inside `file`.
std::size_t FindTextureTypeName(std::span<const std::uint8_t> file, std::size_t from);

// The two ways FindTextureTypeName can search. Both find the same positions in every input.
enum class ScanSearch {
  kBytes,   // memchr for "N", each candidate judged by the name's last byte: any processor
  kVector,  // 64 start positions at a time with SSE2, which every x86-64 processor has
};

// The search in use. At start it is kVector when the processor has SSE2, else kBytes.
ScanSearch CurrentScanSearch();

// Makes every later search use `search` and returns the search now in use: kVector is
// taken only where the processor has SSE2, so the result can be kBytes either way. The
// program never calls it; tests force kBytes to run the search of processors without SSE2.
ScanSearch SetScanSearch(ScanSearch search);
