#include "console_ui.h"

#include <cstring>
#include <utility>

#include "front/main_dialog.h"
#include "front/ui.h"

namespace {

// Below this many copies the command is over before a progress line could be read.
constexpr std::uint32_t kManyCopies = 10;

int g_dialog;  // any distinct address stands for the window handle

void ClearProgressLine() {
  Console& c = TheConsole();
  if (c.progressWidth == 0) return;
  std::fprintf(stderr, "\r%*s\r", static_cast<int>(c.progressWidth), "");
  std::fflush(stderr);
  c.progressWidth = 0;
}

}  // namespace

Console& TheConsole() {
  static Console console;
  return console;
}

void ConsoleOpenDialog() {
  MainDialogProc(&g_dialog, kWmInitDialog, 0, 0);
}

void ConsolePress(int button) {
  MainDialogProc(&g_dialog, kWmCommand, static_cast<std::uintptr_t>(button), 0);
}

// "Writing copy i of n" on the error stream. The line is cleared when the command's wait
// cursor goes away and before any error is printed.
void UiShowProgress(std::uint32_t position, std::uint32_t count) {
  if (!TheConsole().showProgress || count < kManyCopies) return;
  Console& c = TheConsole();
  const int width = std::fprintf(stderr, "\rWriting copy %u of %u", position + 1, count);
  std::fflush(stderr);
  if (width > 1) c.progressWidth = static_cast<std::size_t>(width - 1);  // the \r takes no room
}

void UiSetBoxText(ControlId, const char*) {}

void UiResetList(ControlId) {}

void UiAddListRow(ControlId, const char*) {}

int UiListSelection(ControlId list) {
  return list == kTextureList ? TheConsole().textureRow : -1;
}

void UiEnableCreateNifs(bool enabled) {
  TheConsole().createNifsEnabled = enabled;
}

void UiSetFocus(ControlId) {}

int UiMessageBox(const char* text, const char*, MessageKind kind) {
  Console& c = TheConsole();
  switch (kind) {
    case MessageKind::kError:
      ClearProgressLine();
      c.errorShown = true;
      std::fprintf(stderr, "%s\n", text);
      std::fflush(stderr);
      return kIdOk;
    case MessageKind::kQuestion:
      return c.acceptSuffixes ? kIdYes : kIdNo;
    case MessageKind::kInformation:
      c.notes.append(text).push_back('\n');
      return kIdOk;
  }
  return kIdOk;
}

OpenFileResult UiOpenFileDialog(const OpenFileRequest& request) {
  std::optional<FileDialogChoice> answer = std::exchange(TheConsole().fileDialog, std::nullopt);
  // A choice that does not fit the buffer makes the real dialog fail.
  if (!answer || answer->buffer.size() > request.bufferSize) return {false, 0};
  std::memcpy(request.buffer, answer->buffer.data(), answer->buffer.size());
  return {true, answer->fileOffset};
}

void UiEndDialog() {}

UiWaitCursor::UiWaitCursor() : previous_(nullptr) {}

UiWaitCursor::~UiWaitCursor() {
  ClearProgressLine();
}
