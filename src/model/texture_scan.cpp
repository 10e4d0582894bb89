// The format: the file starts with kModelHeader; a texture record is the type name
// "NiSourceTexture" followed, counted from the name's first byte, by a flag at 27 (1: the
// texture is an outside file), the path's length at 28 (4 bytes, little-endian) and the
// path at 32. Records are found by their type name alone, in file order.
#include "model/texture_scan.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "common/file_name.h"
#include "common/text.h"
#include "model/byte_reader.h"
#include "model/type_name_search.h"

namespace {

// Offsets inside a texture record, counted from the first byte of its type name.
constexpr std::size_t kFlagOffset = 27;
constexpr std::size_t kLengthOffset = 28;
constexpr std::size_t kPathOffset = 32;
constexpr std::uint8_t kExternalFlag = 1;

// The path after its last backslash, looking only before the first zero byte, cut to
// what the display name can hold.
void FillDisplayName(std::span<const std::uint8_t> path, TextureRef& ref) {
  const auto end = std::ranges::find(path, std::uint8_t{0});
  std::string_view text(reinterpret_cast<const char*>(path.data()),
                        static_cast<std::size_t>(end - path.begin()));
  text.remove_prefix(StoredFileNameStart(text));
  CopyText(ref.displayName, text);
}

}  // namespace

ScanResult ScanTextureRefs(std::span<const std::uint8_t> file,
                           std::span<TextureRef, kMaxTextureRefs> table) {
  // Offsets are kept in 32 bits; larger images are refused before they get here.
  file = file.first(std::min<std::size_t>(file.size(), std::numeric_limits<std::uint32_t>::max()));

  ScanResult result{ScanStatus::kNotNetImmerse, 0, false};
  if (file.size() < kModelHeader.size() ||
      std::memcmp(file.data(), kModelHeader.data(), kModelHeader.size()) != 0) {
    return result;
  }

  ByteReader reader(file);
  std::size_t p = kModelHeader.size();
  while (p < file.size()) {
    const std::size_t q = FindTextureTypeName(file, p);
    if (q >= file.size()) break;

    // A record counts only when its flag, length and whole path lie inside the file;
    // anything else is passed over like a record without an external file.
    const bool external =
        reader.Holds(q, kPathOffset) && reader.U8(q + kFlagOffset) == kExternalFlag;
    const std::uint32_t length = external ? reader.U32LE(q + kLengthOffset) : 0;
    if (!external || !reader.Holds(q + kPathOffset, length)) {
      p = q + kTextureTypeName.size();
      continue;
    }

    // The table holds the first kMaxTextureRefs references; one more says there are more.
    if (result.refCount == table.size()) {
      result.truncated = true;
      break;
    }
    TextureRef& ref = table[result.refCount++];
    ref.lengthOffset = static_cast<std::uint32_t>(q + kLengthOffset);
    ref.tailOffset = static_cast<std::uint32_t>(q + kPathOffset + length);
    FillDisplayName(file.subspan(q + kPathOffset, length), ref);
    p = q + kPathOffset + length;
  }

  result.status = result.refCount > 0 ? ScanStatus::kFound : ScanStatus::kNoReferences;
  return result;
}
