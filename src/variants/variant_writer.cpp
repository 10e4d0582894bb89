#include "variants/variant_writer.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "front/host_files.h"
#include "front/ui.h"
#include "model/stored_path.h"
#include "variants/naming.h"
#include "variants/texture_path.h"

void BuildVariantPieces(std::span<const std::uint8_t> image, std::span<const PathEdit> edits,
                        VariantPieces& out) {
  // Every length field gets its place before any piece points at one.
  out.lengths.resize(edits.size());
  out.pieces.clear();
  out.pieces.reserve(3 * edits.size() + 1);
  std::size_t taken = 0;  // the image's bytes before this are in the pieces already
  for (std::size_t i = 0; i < edits.size(); ++i) {
    const PathEdit& edit = edits[i];
    const auto length = static_cast<std::uint32_t>(edit.newPath.size());
    out.lengths[i] = {std::uint8_t(length), std::uint8_t(length >> 8), std::uint8_t(length >> 16),
                      std::uint8_t(length >> 24)};
    // The scan only makes references inside the image, in file order; the clamps keep a
    // stale or damaged one from reaching past the image or back into what is taken.
    const std::size_t head = std::clamp<std::size_t>(edit.lengthOffset, taken, image.size());
    const std::size_t tail = std::clamp<std::size_t>(edit.tailOffset, head, image.size());
    out.pieces.push_back(image.subspan(taken, head - taken));
    out.pieces.push_back(out.lengths[i]);
    out.pieces.push_back(
        {reinterpret_cast<const std::uint8_t*>(edit.newPath.data()), edit.newPath.size()});
    taken = tail;
  }
  out.pieces.push_back(image.subspan(taken));
}

WriteOutcome WriteVariantFile(const char* path,
                              std::span<const std::span<const std::uint8_t>> pieces,
                              bool keepPermissions) {
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
  if (!written || !closed || (keepPermissions && !ops.copyPermissions(path, tempPath))) {
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

// The references to replace in file order, each once: the splice walks the image forwards.
// The table is in file order, so its rows are.
std::vector<const TextureRef*> ReferencesInFileOrder(std::span<const std::uint32_t> rows) {
  std::vector<std::uint32_t> sorted(rows.begin(), rows.end());
  std::ranges::sort(sorted);
  sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
  std::vector<const TextureRef*> refs;
  for (const std::uint32_t row : sorted) {
    if (row < g_app.refCount) refs.push_back(&g_app.refs[row]);
  }
  return refs;
}

}  // namespace

void WriteVariants(const VariantJob& job) {
  const std::span<const std::uint8_t> image(g_app.modelImage.get(), g_app.modelSize);
  const std::vector<const TextureRef*> refs = ReferencesInFileOrder(job.refs);
  std::vector<std::string_view> storedPaths;
  for (const TextureRef* ref : refs) storedPaths.push_back(StoredPath(image, *ref));

  unsigned k = FindSuffixStart();
  if (k > 0 && UiMessageBox(kMsgSuffixQuestion, kAppCaption, MessageKind::kQuestion) != kIdYes) {
    k = 0;
  }

  unsigned written = 0;
  std::vector<std::string> newPaths(refs.size());
  std::vector<PathEdit> edits(refs.size());
  VariantPieces variant;
  {
    UiWaitCursor wait;
    for (std::uint32_t i = 0; i < g_app.replacementCount; ++i) {
      if (!job.planned) UiShowProgress(i, g_app.replacementCount);
      const char* name = g_app.replacements[i].name;
      const std::string path = k > 0 ? SuffixOutputPath(job.basePath, SuffixOf(name, k))
                                     : NumberedOutputPath(job.basePath, i + 1);

      // The copy is made from memory, but writing it over the model would destroy the
      // original the user chose.
      if (g_fileOps->sameFile(path.c_str(), g_app.modelPath)) {
        ShowFormatted(kErrorCaption, MessageKind::kError, kMsgIsSourceModel, path.c_str(), name);
        continue;
      }
      if (job.planned) {
        job.planned(path.c_str(), name);
        continue;
      }
      const std::string_view newName =
          job.texturePaths.empty() ? std::string_view(name) : job.texturePaths[i];
      for (std::size_t j = 0; j < refs.size(); ++j) {
        newPaths[j] = NewTexturePath(storedPaths[j], newName, job.keepFolder);
        edits[j] = {refs[j]->lengthOffset, refs[j]->tailOffset, newPaths[j]};
      }
      BuildVariantPieces(image, edits, variant);
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
  if (!job.planned) {
    ShowFormatted(kAppCaption, MessageKind::kInformation, kMsgGenerated, written,
                  job.basePath.c_str());
  }
}

void CreateVariants() {
  const int selection = UiListSelection(kTextureList);
  if (selection < 0 || static_cast<std::uint32_t>(selection) >= g_app.refCount) {
    ShowError(kMsgSelectTexture);
    return;
  }
  g_app.selectedRef = static_cast<std::uint32_t>(selection);
  // One reference, given the bare name: the copies the dialog has always written.
  VariantJob job;
  job.refs = {&g_app.selectedRef, 1};
  job.basePath = MakeBasePath(g_app.modelPath);
  WriteVariants(job);
}
