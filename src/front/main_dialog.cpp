#include "front/main_dialog.h"

#include "common/app_state.h"
#include "common/text.h"
#include "front/ui.h"
#include "model/load_model.h"
#include "variants/replacement_list.h"
#include "variants/variant_writer.h"

namespace {

constexpr char kModelFilter[] = "NIF Files (*.nif)\0*.nif\0All Files (*.*)\0*.*\0";

}  // namespace

void UpdateCreateNifsButton() {
  UiEnableCreateNifs(g_app.refCount > 0 && g_app.replacementCount > 0);
}

void ClearModel() {
  g_app.modelPath[0] = '\0';
  UiSetBoxText(kPathBox, "");
  UiResetList(kTextureList);
  UiEnableCreateNifs(false);
  UnloadModel();
}

void ClearReplacements() {
  UiSetBoxText(kFolderBox, "");
  UiResetList(kReplacementList);
  UiEnableCreateNifs(false);
  g_app.replacementCount = 0;
  g_app.replacementFolder[0] = '\0';
}

void ChooseModel() {
  char path[kModelPathCapacity] = {};
  const OpenFileResult result = UiOpenFileDialog(
      {kModelFilter, kModelDialogFlags, path, sizeof path, /*initialDir=*/nullptr});
  if (!result.chosen) {
    ClearModel();
    return;
  }
  CopyText(g_app.modelPath, TextIn(path));
  UiSetBoxText(kPathBox, g_app.modelPath);

  if (!LoadModel()) {
    ClearModel();
    return;
  }
  UiResetList(kTextureList);
  for (std::uint32_t i = 0; i < g_app.refCount; ++i) {
    UiAddListRow(kTextureList, g_app.refs[i].displayName);
  }
  UpdateCreateNifsButton();
  UiSetFocus(kTextureList);
}

std::intptr_t MainDialogProc(DialogHandle dialog, unsigned message, std::uintptr_t wParam,
                             std::intptr_t /*lParam*/) {
  switch (message) {
    case kWmInitDialog:
      g_app.hwndMain = dialog;
      ClearModel();
      ClearReplacements();
      return 1;  // the system puts the focus on the first tab stop
    case kWmCommand:
      switch (static_cast<int>(wParam & 0xFFFF)) {
        case kSelectNifButton:
          ChooseModel();
          return 1;
        case kSelectTexturesButton:
          ChooseReplacements();
          return 1;
        case kCreateNifsButton:
          CreateVariants();
          return 1;
        default:
          return 0;  // Esc (IDCANCEL) among them: the dialog stays open
      }
    case kWmClose:
      UiEndDialog();
      return 1;
    default:
      return 0;
  }
}
