#include "front/ui.h"

void ShowError(const char* text) {
  UiMessageBox(text, kErrorCaption, MessageKind::kError);
}
