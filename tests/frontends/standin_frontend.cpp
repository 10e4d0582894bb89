// The dialog logic in this process, over the in-memory stand-in for its controls.
#include "frontends/frontends.h"

#include "common/app_state.h"
#include "front/main_dialog.h"
#include "front/ui_standin.h"

namespace {

constexpr int kIdCancel = 2;  // the command the Esc key sends

// What each file dialog is asked with, whatever the user then does in it.
struct DialogRequest {
  const char* button;
  std::string filter;
  unsigned flags;
  std::uint32_t bufferSize;
};
const DialogRequest kRequests[] = {
    {"Select NIF", {"NIF Files (*.nif)\0*.nif\0All Files (*.*)\0*.*\0\0", 45}, 0x1804, 260},
    {"Select Textures", {"DDS Files (*.dds)\0*.dds\0All Files (*.*)\0*.*\0\0", 45}, 0x81A0C, 30000},
};

void CheckRequest(const Action& action, const std::string& folderBox,
                  const std::vector<StandinFileDialogCall>& calls) {
  const std::size_t wanted = action.dialog.empty() ? 0 : 1;
  if (calls.size() != wanted) {
    Fail(action.button + " opened " + std::to_string(calls.size()) + " file dialog(s), expected " +
         std::to_string(wanted));
  }
  for (const DialogRequest& r : kRequests) {
    if (wanted == 0 || action.button != r.button) continue;
    const StandinFileDialogCall& call = calls[0];
    // The model dialog opens where the system likes; the texture dialog where the folder box
    // says (an empty text at first, which leaves it to the system too).
    const bool models = r.flags == 0x1804;
    if (call.filter != r.filter || call.flags != r.flags || call.bufferSize != r.bufferSize ||
        call.initialDirNull != models || (!models && call.initialDir != folderBox)) {
      Fail("the file dialog of " + action.button + " was asked with flags " +
           std::to_string(call.flags) + ", buffer " + std::to_string(call.bufferSize) +
           ", initial folder \"" + call.initialDir + "\"");
    }
  }
}

StandinFileDialogAnswer DialogAnswer(const Action& action) {
  if (action.dialog == "type") return {false, {}, 0, action.files};
  if (action.dialog != "choose") return {};
  const std::string& first = action.files.front();
  if (action.files.size() == 1) return ChooseOneFile(first);
  std::vector<std::string> names;
  for (const std::string& path : action.files) names.push_back(fs::path(path).filename().string());
  return ChooseSeveralFiles(fs::path(first).parent_path().string(), names);
}

int AnswerCode(const std::string& answer) {
  return answer == "Yes" ? 6 : answer == "No" ? 7 : answer == "Esc" ? kIdCancel : 1;
}

// By the platform's type values, which the real boxes are shown with.
std::string KindName(MessageKind kind) {
  switch (unsigned(kind)) {
    case 0x10:
      return "error";
    case 0x24:
      return "question";
    case 0x40:
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
  s.fileDialogCalls.clear();
  const std::string folderBox = s.boxes[kFolderBox];
  if (!action.dialog.empty()) s.fileDialogAnswers = {DialogAnswer(action)};
  s.messageBoxAnswers.clear();
  for (const std::string& answer : action.answers)
    s.messageBoxAnswers.push_back(AnswerCode(answer));

  if (action.what == "select row") {
    if (action.row >= int(s.lists[kTextureList].rows.size()))
      Fail("the texture list has no such row");
    StandinSelectRow(kTextureList, action.row);
  } else if (action.what == "close") {
    MainDialogProc(g_app.hwndMain, kMsgClose, 0, 0);
    if (!s.dialogEnded) Fail("closing did not end the dialog");
  } else {
    const int id = action.button == "Esc" ? kIdCancel : IdOfControl(action.button);
    if (id == 0) Fail("there is no button " + action.button);
    if (id == kCreateNifsButton && !s.createNifsEnabled) Fail("Create NIFs is disabled");
    MainDialogProc(g_app.hwndMain, kMsgCommand, std::uintptr_t(id), 0);
  }
  CheckRequest(action, folderBox, s.fileDialogCalls);
  std::vector<std::string> seen;
  for (const auto& box : s.messageBoxes)
    seen.push_back(BoxText(KindName(box.kind), box.caption, box.text));
  return seen;
}

View Look() {
  Standin& s = TheStandin();
  return {{"path box", s.boxes[kPathBox]},
          {"folder box", s.boxes[kFolderBox]},
          {"texture list", ListText(s.lists[kTextureList].rows, s.lists[kTextureList].selection)},
          {"replacement list",
           ListText(s.lists[kReplacementList].rows, s.lists[kReplacementList].selection)},
          {"Create NIFs", s.createNifsEnabled ? "enabled" : "disabled"},
          {"focus", NameOfControl(s.focus)}};
}

void Screenshot(const std::string&) {}
void Finish(bool) {}

}  // namespace

const Frontend kStandinFrontend = {Start, Act, Look, Screenshot, Finish};
