// The dialog logic in this process, over the in-memory stand-in for its controls.
#include <algorithm>

#include "common/app_state.h"
#include "front/main_dialog.h"
#include "frontends/frontends.h"
#include "standin/ui_standin.h"

namespace {

StandinFileDialogAnswer DialogAnswer(const Action& action) {
  if (action.dialog == "type") return {false, {}, action.files};
  if (action.dialog.empty() || action.dialog == "cancel") return {};
  std::vector<std::string> names;
  for (const auto& path : action.files) names.push_back(fs::path(path).filename().string());
  if (names.size() == 1) return {true, OneFileChoice(action.files[0]), {}};
  return {true, SeveralFilesChoice(fs::path(action.files[0]).parent_path().string(), names), {}};
}

// By the platform's type values, which the real boxes are shown with.
std::string KindName(MessageKind kind) {
  switch (kind) {
    case MessageKind::kError:
      return "error";
    case MessageKind::kQuestion:
      return "question";
    case MessageKind::kInformation:
      return "information";
  }
  return "type " + std::to_string(unsigned(kind));
}

void Start() {
  ResetAppState();
  StandinOpenDialog();
}

std::vector<std::string> Act(const Action& action) {
  Standin& s = TheStandin();
  if (s.dialogEnded) Fail("the dialog has already ended");
  s.messageBoxes.clear();
  s.fileDialogsOpened = 0;
  s.fileDialogAnswer = DialogAnswer(action);
  s.messageBoxAnswers.clear();
  for (const auto& answer : action.answers) {
    s.messageBoxAnswers.push_back(answer == "Yes"   ? kIdYes
                                  : answer == "No"  ? kIdNo
                                  : answer == "Esc" ? kIdCancel
                                                    : kIdOk);
  }
  const int id = action.button == "Esc" ? kIdCancel : IdOfControl(action.button);
  if (action.what == "select row") {
    if (action.row >= int(s.lists[kTextureList].rows.size()))
      Fail("the texture list has no such row");
    s.lists[kTextureList].selection = action.row;  // the platform sends no command for it
  } else if (action.what == "close") {
    MainDialogProc(g_app.hwndMain, kWmClose, 0, 0);
    if (!s.dialogEnded) Fail("closing did not end the dialog");
  } else if (id == 0 || (id == kCreateNifsButton && !s.createNifsEnabled)) {
    Fail("cannot press " + action.button);
  } else {
    MainDialogProc(g_app.hwndMain, kWmCommand, std::uintptr_t(id), 0);
  }
  if (s.fileDialogsOpened != (action.dialog.empty() ? 0 : 1)) Fail("a file dialog opened, or none");
  std::vector<std::string> seen;
  for (const auto& box : s.messageBoxes)
    seen.push_back(BoxText(KindName(box.kind), box.caption, box.text));
  return seen;
}

View Look() {
  Standin& s = TheStandin();
  const auto list = [&](int id) { return ListText(s.lists[id].rows, s.lists[id].selection); };
  return {{"path box", s.boxes[kPathBox]},
          {"folder box", s.boxes[kFolderBox]},
          {"texture list", list(kTextureList)},
          {"replacement list", list(kReplacementList)},
          {"Create NIFs", s.createNifsEnabled ? "enabled" : "disabled"},
          {"focus", NameOfControl(s.focus)}};
}

}  // namespace

const Frontend kStandinFrontend = {Start, Act, Look, [](const std::string&) {}, [](bool) {}};
