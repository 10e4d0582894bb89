#include "standin/ui_standin.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "common/app_state.h"
#include "front/main_dialog.h"

Standin& TheStandin() {
  static Standin standin;
  return standin;
}

void StandinOpenDialog() {
  TheStandin() = Standin{};
  static int dialog;  // any distinct address stands for the window handle
  MainDialogProc(&dialog, kWmInitDialog, 0, 0);
  TheStandin().focus = kSelectNifButton;
}

void UiSetBoxText(ControlId box, const char* text) {
  TheStandin().boxes[box] = text;
}

void UiResetList(ControlId list) {
  TheStandin().lists[list] = StandinList{};
}

void UiAddListRow(ControlId list, const char* text) {
  TheStandin().lists[list].rows.emplace_back(text);
}

int UiListSelection(ControlId list) {
  return TheStandin().lists[list].selection;
}

void UiEnableCreateNifs(bool enabled) {
  TheStandin().createNifsEnabled = enabled;
}

void UiSetFocus(ControlId control) {
  TheStandin().focus = control;
}

int UiMessageBox(const char* text, const char* caption, MessageKind kind) {
  Standin& s = TheStandin();
  s.messageBoxes.push_back({text, caption, kind});
  if (s.messageBoxAnswers.empty()) return kIdOk;
  const int answer = s.messageBoxAnswers.front();
  s.messageBoxAnswers.pop_front();
  return answer;
}

OpenFileResult UiOpenFileDialog(const OpenFileRequest& request) {
  Standin& s = TheStandin();
  ++s.fileDialogsOpened;
  StandinFileDialogAnswer answer = std::exchange(s.fileDialogAnswer, {});
  if (!answer.typed.empty()) {
    // Typed names are looked up where the dialog opened; with no folder given the dialog
    // would open somewhere of the system's choosing, which a script cannot know.
    const std::string folder = request.initialDir ? request.initialDir : "";
    if (folder.empty()) return {false, 0};
    answer.chosen = true;
    answer.choice = answer.typed.size() == 1 ? OneFileChoice(folder + "/" + answer.typed[0])
                                             : SeveralFilesChoice(folder, answer.typed);
  }
  // A choice that does not fit the buffer makes the real dialog fail.
  const std::string& bytes = answer.choice.buffer;
  if (!answer.chosen || bytes.size() > request.bufferSize) return {false, 0};
  std::memcpy(request.buffer, bytes.data(), bytes.size());
  return {true, answer.choice.fileOffset};
}

void UiEndDialog() {
  TheStandin().dialogEnded = true;
}

void UiShowProgress(std::uint32_t, std::uint32_t) {}

UiWaitCursor::UiWaitCursor() : previous_(nullptr) {}

UiWaitCursor::~UiWaitCursor() = default;
