#include "variants/variant_writer.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "front/host_files.h"
#include "front/ui.h"
#include "variants/naming.h"

void BuildVariantPieces(std::span<const std::uint8_t> image, const TextureRef& ref,
                        std::string_view newName, VariantPieces& out) {
  const auto length = static_cast<std::uint32_t>(newName.size());
  out.length = {std::uint8_t(length), std::uint8_t(length >> 8), std::uint8_t(length >> 16),
                std::uint8_t(length >> 24)};
  // The scan only makes references inside the image; the clamps keep a stale or damaged
  // one from reaching past it all the same.
  const std::size_t head = std::min<std::size_t>(ref.lengthOffset, image.size());
  const std::size_t tail = std::min<std::size_t>(ref.tailOffset, image.size());
  out.pieces = {
      image.first(head),
      out.length,
      {reinterpret_cast<const std::uint8_t*>(newName.data()), newName.size()},
      image.subspan(std::max(head, tail)),
  };
}

WriteOutcome WriteVariantFile(const char* path,
                              std::span<const std::span<const std::uint8_t>> pieces) {
  const FileOps& ops = *g_fileOps;
  // A rename would replace a read-only file, and root may open one for writing, so the
  // target is looked at first.
  const PathState target = ops.inspectPath(path);
  if (target == PathState::kReadOnly || target == PathState::kNotAFile) {
    return WriteOutcome::kCannotCreate;
  }

  char tempPath[1024];
  ScopedFile temp(ops.createTempBeside(path, tempPath, sizeof tempPath));
  if (temp.get() == kNoFile) return WriteOutcome::kCannotCreate;

  const bool written = ops.writePieces(temp.get(), pieces);
  const bool closed = temp.Close();
  if (!written || !closed) {
    ops.removeFile(tempPath);
    return WriteOutcome::kCannotWrite;
  }
  if (!ops.replaceFile(tempPath, path)) {
    ops.removeFile(tempPath);
    return WriteOutcome::kCannotCreate;
  }
  return WriteOutcome::kWritten;
}

namespace {

// Formats one message into the fixed 1,000-byte buffer and shows it.
template <typename... Args>
void ShowFormatted(const char* caption, MessageKind kind, const char* format, Args... args) {
  char message[1000];
  std::snprintf(message, sizeof message, format, args...);
  UiMessageBox(message, caption, kind);
}

}  // namespace

void CreateVariants() {
  const int selection = UiListSelection(kTextureList);
  if (selection < 0 || static_cast<std::uint32_t>(selection) >= g_app.refCount) {
    ShowError(kMsgSelectTexture);
    return;
  }
  g_app.selectedRef = static_cast<std::uint32_t>(selection);
  const TextureRef& ref = g_app.refs[g_app.selectedRef];
  const std::span<const std::uint8_t> image(g_app.modelImage.get(), g_app.modelSize);
  const std::string basePath = MakeBasePath(g_app.modelPath);

  unsigned k = FindSuffixStart();
  if (k > 0 &&
      UiMessageBox(kMsgSuffixQuestion, kAppCaption, MessageKind::kQuestion) != kAnswerYes) {
    k = 0;
  }

  unsigned written = 0;
  {
    UiWaitCursor wait;
    for (std::uint32_t i = 0; i < g_app.replacementCount; ++i) {
      UiShowProgress(i, g_app.replacementCount);
      const char* name = g_app.replacements[i].name;
      const std::string path = k > 0 ? SuffixOutputPath(basePath, SuffixOf(name, k))
                                     : NumberedOutputPath(basePath, i + 1);

      // The copy is made from memory, but writing it over the model would destroy the
      // original the user chose.
      if (g_fileOps->sameFile(path.c_str(), g_app.modelPath)) {
        ShowFormatted(kErrorCaption, MessageKind::kError, kMsgIsSourceModel, path.c_str(), name);
        continue;
      }
      VariantPieces variant;
      BuildVariantPieces(image, ref, name, variant);
      switch (WriteVariantFile(path.c_str(), variant.pieces)) {
        case WriteOutcome::kWritten:
          ++written;
          break;
        case WriteOutcome::kCannotCreate:
          ShowFormatted(kErrorCaption, MessageKind::kError, kMsgCannotCreate, path.c_str(), name);
          break;
        case WriteOutcome::kCannotWrite:
          ShowFormatted(kErrorCaption, MessageKind::kError, kMsgCannotWrite, path.c_str(), name);
          break;
      }
    }
  }
  ShowFormatted(kAppCaption, MessageKind::kInformation, kMsgGenerated, written, basePath.c_str());
}
