#include "front/ui_standin.h"

#include <algorithm>
#include <cstring>

#include "common/app_state.h"
#include "front/main_dialog.h"

Standin& TheStandin() {
  static Standin standin;
  return standin;
}

void StandinOpenDialog() {
  TheStandin() = Standin{};
  static int dialog;  // any distinct address stands for the window handle
  MainDialogProc(&dialog, kMsgInitDialog, 0, 0);
  TheStandin().focus = kSelectNifButton;
}

void StandinSelectRow(int list, int row) {
  TheStandin().lists[list].selection = row;
}

StandinFileDialogAnswer ChooseOneFile(const std::string& fullPath) {
  const auto slash = fullPath.find_last_of("\\/");
  const auto offset = slash == std::string::npos ? 0 : slash + 1;
  return {true, fullPath + std::string(2, '\0'), static_cast<std::uint16_t>(offset), {}};
}

StandinFileDialogAnswer ChooseSeveralFiles(const std::string& folder,
                                           const std::vector<std::string>& names) {
  std::string buffer = folder + '\0';
  for (const auto& name : names) buffer += name + '\0';
  buffer += '\0';
  return {true, buffer, static_cast<std::uint16_t>(folder.size() + 1), {}};
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
  if (s.messageBoxAnswers.empty()) return 1;  // IDOK
  const int answer = s.messageBoxAnswers.front();
  s.messageBoxAnswers.pop_front();
  return answer;
}

OpenFileResult UiOpenFileDialog(const OpenFileRequest& request) {
  Standin& s = TheStandin();
  std::size_t filterSize = 0;
  while (request.filter[filterSize] != '\0' || request.filter[filterSize + 1] != '\0') ++filterSize;
  s.fileDialogCalls.push_back({std::string(request.filter, filterSize + 2), request.flags,
                               request.bufferSize, request.initialDir ? request.initialDir : "",
                               request.initialDir == nullptr});
  if (s.fileDialogAnswers.empty()) return {false, 0};
  StandinFileDialogAnswer answer = std::move(s.fileDialogAnswers.front());
  s.fileDialogAnswers.pop_front();
  if (!answer.typed.empty()) {
    // Typed names are looked up where the dialog opened; with no folder given the dialog
    // would open somewhere of the system's choosing, which a script cannot know.
    const std::string folder = request.initialDir ? request.initialDir : "";
    if (folder.empty()) return {false, 0};
    answer = answer.typed.size() == 1 ? ChooseOneFile(folder + "/" + answer.typed[0])
                                      : ChooseSeveralFiles(folder, answer.typed);
  }
  // A choice that does not fit the buffer makes the real dialog fail.
  if (!answer.chosen || answer.buffer.size() > request.bufferSize) return {false, 0};
  std::memcpy(request.buffer, answer.buffer.data(), answer.buffer.size());
  return {true, answer.fileOffset};
}

void UiEndDialog() {
  TheStandin().dialogEnded = true;
}

void UiShowProgress(std::uint32_t, std::uint32_t) {}

UiWaitCursor::UiWaitCursor() : previous_(nullptr) {}

UiWaitCursor::~UiWaitCursor() = default;
