// Recognises a NetImmerse model image and finds its external texture references.
// A pure function over the file's bytes: no files, no user interface.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "common/app_state.h"

inline constexpr std::string_view kModelHeader = "NetImmerse File Format";

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
