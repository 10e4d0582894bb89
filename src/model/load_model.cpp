#include "model/load_model.h"

#include <cstdint>
#include <limits>

#include "common/app_state.h"
#include "front/host_files.h"
#include "front/ui.h"
#include "model/texture_scan.h"

namespace {

// Reads the whole file into a fresh image; returns false once it has told the user why.
bool ReadImage(FileHandle file) {
  UnloadModel();
  std::uint64_t size = 0;
  if (!g_fileOps->sizeBySeeking(file, &size)) {
    ShowError(kMsgCannotOpen);
    return false;
  }

  if (size > std::numeric_limits<std::uint32_t>::max()) {
    ShowError(kMsgTooLarge);
    return false;
  }
  if (size > std::numeric_limits<std::size_t>::max() - kImageSlack) {
    ShowError(kMsgOutOfMemory);
    return false;
  }
  const auto fileSize = static_cast<std::size_t>(size);
  g_app.modelImage.reset(g_fileOps->allocate(fileSize + kImageSlack));
  if (!g_app.modelImage) {
    ShowError(kMsgOutOfMemory);
    return false;
  }
  // A file that ends early or fails while being read would give copies without its end.
  if (g_fileOps->readUpTo(file, g_app.modelImage.get(), fileSize) != fileSize) {
    g_app.modelImage.reset();
    ShowError(kMsgReadFailed);
    return false;
  }
  g_app.modelSize = static_cast<std::uint32_t>(fileSize);
  return true;
}

}  // namespace

void UnloadModel() {
  g_app.refCount = 0;
  g_app.modelImage.reset();
  g_app.modelSize = 0;
}

int LoadModel() {
  ScopedFile file(g_fileOps->openForReading(g_app.modelPath));
  if (file.get() == kNoFile) {
    ShowError(kMsgCannotOpen);
    return 0;
  }
  if (!ReadImage(file.get())) return 0;
  file.Close();

  const ScanResult scan = ScanTextureRefs({g_app.modelImage.get(), g_app.modelSize}, g_app.refs);
  g_app.refCount = scan.refCount;
  switch (scan.status) {
    case ScanStatus::kNotNetImmerse:
      ShowError(kMsgNotRecognized);
      return 0;
    case ScanStatus::kNoReferences:
      ShowError(kMsgNoReferences);
      return 0;
    case ScanStatus::kFound:
      break;
  }
  if (scan.truncated) UiMessageBox(kMsgFirstHundred, kAppCaption, MessageKind::kInformation);
  return 1;
}
