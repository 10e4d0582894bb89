// The Create NIFs command: one copy of the model per replacement texture.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "common/app_state.h"

inline constexpr const char* kMsgSelectTexture = "Please, select texture that should be replaced";
inline constexpr const char* kMsgSuffixQuestion =
    "Do you want to use texture-based suffix instead of numbers?";
inline constexpr const char* kMsgCannotCreate = "Cannot create file %s for texture %s";
inline constexpr const char* kMsgCannotWrite = "Cannot write file %s for texture %s";
inline constexpr const char* kMsgIsSourceModel =
    "Cannot create file %s for texture %s: it is the model file being read";
inline constexpr const char* kMsgGenerated = "Generated %u file(s) with names:\n%s_*.nif";

// The four pieces of one copy, in file order: the image before the reference's length
// field, the new length, the new name, and the image after the old path.
struct VariantPieces {
  std::array<std::uint8_t, 4> length;
  std::array<std::span<const std::uint8_t>, 4> pieces;
};

// `image` holds the file's bytes only; `ref` must be one the scan produced for it.
void BuildVariantPieces(std::span<const std::uint8_t> image, const TextureRef& ref,
                        std::string_view newName, VariantPieces& out);

enum class WriteOutcome { kWritten, kCannotCreate, kCannotWrite };

// Writes one copy so that it appears under `path` only when it is whole: into a new file
// beside it, then moved onto the name. An older file of that name stays as it was on
// any failure, and so does a read-only one.
WriteOutcome WriteVariantFile(const char* path,
                              std::span<const std::span<const std::uint8_t>> pieces);

void CreateVariants();
