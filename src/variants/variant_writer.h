// The Create NIFs command: one copy of the model per replacement texture.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/app_state.h"

inline constexpr const char* kMsgSelectTexture = "Please, select texture that should be replaced";
inline constexpr const char* kMsgSuffixQuestion =
    "Do you want to use texture-based suffix instead of numbers?";
inline constexpr const char* kMsgCannotCreate = "Cannot create file %s for texture %s";
inline constexpr const char* kMsgCannotWrite = "Cannot write file %s for texture %s";
inline constexpr const char* kMsgIsSourceModel =
    "Cannot create file %s for texture %s: it is the model file being read";
inline constexpr const char* kMsgGenerated = "Generated %u file(s) with names:\n%s_*.nif";

// One path replaced in a copy: the reference's length field and old path, the image's bytes
// from `lengthOffset` up to `tailOffset`, give way to the new length and `newPath`.
struct PathEdit {
  std::uint32_t lengthOffset;
  std::uint32_t tailOffset;
  std::string_view newPath;
};

// The pieces of one copy, in file order: the image before the first edit's length field,
// its new length, its new path, the image from its old path's end to the next edit's length
// field, and so on; last the image after the last old path. The pieces point into `lengths`,
// the image and the new paths.
struct VariantPieces {
  std::vector<std::array<std::uint8_t, 4>> lengths;
  std::vector<std::span<const std::uint8_t>> pieces;
};

// `image` holds the file's bytes only. `edits` are in file order and do not overlap, as the
// references the scan made for this image are; the pieces stay inside the image whatever
// the edits say.
void BuildVariantPieces(std::span<const std::uint8_t> image, std::span<const PathEdit> edits,
                        VariantPieces& out);

enum class WriteOutcome { kWritten, kCannotCreate, kCannotWrite };

// Writes one copy so that it appears under `path` only when it is whole: into a new file
// beside it, then moved onto the name. An older file of that name stays as it was on
// any failure, and so does a read-only one. With `keepPermissions` the new file takes the
// older one's permission bits; else those of any new file.
WriteOutcome WriteVariantFile(const char* path,
                              std::span<const std::span<const std::uint8_t>> pieces,
                              bool keepPermissions = false);

// One run over the replacement list: which references every copy replaces and where the
// copies go.
struct VariantJob {
  std::span<const std::uint32_t> refs;  // rows of the texture-reference table
  bool keepFolder = false;  // each replaced reference keeps its own folder before the name
  // When not empty, the path each replacement gives the references instead of its bare
  // name, in the replacement list's order.
  std::span<const std::string> texturePaths;
  std::string basePath;  // the copies are basePath_01.nif, ... or basePath_SUFFIX.nif
  // Set for a dry run: nothing is written and no closing report shown; each copy that would
  // be written is passed here instead, in the order of writing.
  void (*planned)(const char* outputPath, const char* texture) = nullptr;
};

// Asks the suffix question when suffixes are possible, then writes (or plans) one copy per
// replacement name and reports every copy that can't be written and, at the end, the count.
void WriteVariants(const VariantJob& job);

// The dialog's command: the selected row, replaced by the bare name, copies beside the model.
void CreateVariants();
