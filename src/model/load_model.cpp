#include "model/load_model.h"

#include <cstdint>
#include <limits>

#include "common/app_state.h"
#include "front/host_files.h"
#include "front/ui.h"
#include "model/texture_scan.h"

const char* ReadModelImage(const char* path, ModelImage& image, std::uint32_t& imageSize) {
  image.reset();
  imageSize = 0;
  ScopedFile file(g_fileOps->openForReading(path));
  if (file.get() == kNoFile) return kMsgCannotOpen;
  std::uint64_t size = 0;
  if (!g_fileOps->sizeBySeeking(file.get(), &size)) return kMsgCannotOpen;
  if (size > std::numeric_limits<std::uint32_t>::max()) return kMsgTooLarge;
  if (size > std::numeric_limits<std::size_t>::max() - kImageSlack) return kMsgOutOfMemory;
  const auto fileSize = static_cast<std::size_t>(size);
  image.reset(g_fileOps->allocate(fileSize + kImageSlack));
  if (!image) return kMsgOutOfMemory;
  // A file that ends early or fails while being read would give copies without its end.
  if (g_fileOps->readUpTo(file.get(), image.get(), fileSize) != fileSize) {
    image.reset();
    return kMsgReadFailed;
  }
  imageSize = static_cast<std::uint32_t>(fileSize);
  return nullptr;
}

void UnloadModel() {
  g_app.refCount = 0;
  g_app.modelImage.reset();
  g_app.modelSize = 0;
}

int LoadModel() {
  UnloadModel();
  if (const char* failure = ReadModelImage(g_app.modelPath, g_app.modelImage, g_app.modelSize)) {
    ShowError(failure);
    return 0;
  }

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
