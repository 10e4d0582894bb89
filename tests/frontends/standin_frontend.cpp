// The dialog logic in this process, over the in-memory stand-in for its controls.
#include <algorithm>

#include "common/app_state.h"
#include "front/main_dialog.h"
#include "front/ui_standin.h"
#include "frontends/frontends.h"

namespace {

constexpr int kIdCancel = 2;  // the command the Esc key sends

// How each file dialog must be asked for: filter (its NULs shown as |), flags, buffer size and
// initial folder (left to the system for models; the folder box's text for textures).
std::string Request(const StandinFileDialogCall& call) {
  std::string filter = call.filter;
  std::ranges::replace(filter, '\0', '|');
  return filter + "|" + std::to_string(call.flags) + "|" + std::to_string(call.bufferSize) + "|" +
         (call.initialDirNull ? "(none)" : call.initialDir);
}
std::string Expected(const std::string& button, const std::string& folderBox) {
  if (button == "Select NIF")
    return "NIF Files (*.nif)|*.nif|All Files (*.*)|*.*|||6148|260|(none)";
  return "DDS Files (*.dds)|*.dds|All Files (*.*)|*.*|||530956|30000|" + folderBox;
}

StandinFileDialogAnswer DialogAnswer(const Action& action) {
  if (action.dialog == "type") return {false, {}, 0, action.files};
  if (action.dialog == "cancel") return {};
  std::vector<std::string> names;
  for (const auto& path : action.files) names.push_back(fs::path(path).filename().string());
  if (names.size() == 1) return ChooseOneFile(action.files[0]);
  return ChooseSeveralFiles(fs::path(action.files[0]).parent_path().string(), names);
}

// By the platform's type values, which the real boxes are shown with.
std::string KindName(MessageKind kind) {
  const unsigned value = unsigned(kind);
  return value == 0x10   ? "error"
         : value == 0x24 ? "question"
         : value == 0x40 ? "information"
                         : "type " + std::to_string(value);
}

void Start() {
  ResetAppState();
  StandinOpenDialog();
}

std::vector<std::string> Act(const Action& action) {
  Standin& s = TheStandin();
  if (s.dialogEnded) Fail("the dialog has already ended");
  const std::string folderBox = s.boxes[kFolderBox];
  s.messageBoxes.clear();
  s.fileDialogCalls.clear();
  if (!action.dialog.empty()) s.fileDialogAnswers = {DialogAnswer(action)};
  s.messageBoxAnswers.clear();
  for (const auto& answer : action.answers) {
    s.messageBoxAnswers.push_back(answer == "Yes"   ? 6
                                  : answer == "No"  ? 7
                                  : answer == "Esc" ? kIdCancel
                                                    : 1);
  }
  const int id = action.button == "Esc" ? kIdCancel : IdOfControl(action.button);
  if (action.what == "select row") {
    if (action.row >= int(s.lists[kTextureList].rows.size()))
      Fail("the texture list has no such row");
    StandinSelectRow(kTextureList, action.row);
  } else if (action.what == "close") {
    MainDialogProc(g_app.hwndMain, kMsgClose, 0, 0);
    if (!s.dialogEnded) Fail("closing did not end the dialog");
  } else if (id == 0 || (id == kCreateNifsButton && !s.createNifsEnabled)) {
    Fail("cannot press " + action.button);
  } else {
    MainDialogProc(g_app.hwndMain, kMsgCommand, std::uintptr_t(id), 0);
  }
  if (s.fileDialogCalls.size() != (action.dialog.empty() ? 0u : 1u))
    Fail("a file dialog opened, or none");
  for (const auto& call : s.fileDialogCalls) {
    if (Request(call) != Expected(action.button, folderBox))
      Fail("the file dialog was asked as " + Request(call));
  }
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
