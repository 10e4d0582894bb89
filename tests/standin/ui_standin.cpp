#include "standin/ui_standin.h"

#include <cstring>
#include <filesystem>
#include <utility>

#include "common/app_state.h"
#include "front/file_dialog_choice.h"
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
  const std::string answer = s.answers.empty() ? "OK" : s.answers.front();
  if (!s.answers.empty()) s.answers.pop_front();
  return answer == "Yes" ? kIdYes : answer == "No" ? kIdNo : answer == "Esc" ? kIdCancel : kIdOk;
}

OpenFileResult UiOpenFileDialog(const OpenFileRequest& request) {
  Standin& s = TheStandin();
  ++s.fileDialogsOpened;
  const std::string how = std::exchange(s.fileDialog, "");
  std::vector<std::string> paths = std::exchange(s.files, {}), names;
  // Typed names are looked up where the dialog opened; with no folder given the dialog
  // would open somewhere of the system's choosing, which a script cannot know.
  if (how == "type" && request.initialDir && *request.initialDir) {
    for (std::string& path : paths) path = std::string(request.initialDir) + "/" + path;
  } else if (how != "choose") {
    return {false, 0};
  }
  for (const auto& path : paths) names.push_back(std::filesystem::path(path).filename().string());
  const FileDialogChoice choice =
      paths.size() == 1
          ? OneFileChoice(paths[0])
          : SeveralFilesChoice(std::filesystem::path(paths.at(0)).parent_path().string(), names);
  // A choice that does not fit the buffer makes the real dialog fail.
  if (choice.buffer.size() > request.bufferSize) return {false, 0};
  std::memcpy(request.buffer, choice.buffer.data(), choice.buffer.size());
  return {true, choice.fileOffset};
}

void UiEndDialog() {
  TheStandin().dialogEnded = true;
}

void UiShowProgress(std::uint32_t, std::uint32_t) {}

UiWaitCursor::UiWaitCursor() : previous_(nullptr) {}

UiWaitCursor::~UiWaitCursor() = default;
