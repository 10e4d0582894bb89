#include "common/app_state.h"

#include <algorithm>

AppState g_app{};

void ResetAppState() {
  // Field by field: the record is too large for a temporary on the stack.
  g_app.hwndMain = nullptr;
  std::ranges::fill(g_app.modelPath, '\0');
  g_app.modelImage.reset();
  g_app.modelSize = 0;
  g_app.refs.fill(TextureRef{});
  g_app.refCount = 0;
  g_app.selectedRef = 0;
  std::ranges::fill(g_app.replacementFolder, '\0');
  g_app.replacements.fill(ReplacementName{});
  g_app.replacementCount = 0;
}
