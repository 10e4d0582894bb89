#include "front/ui_console.h"

#include <cstring>

#include "front/main_dialog.h"
#include "front/ui.h"

namespace {

// Below this many copies the command is over before a progress line could be read.
constexpr std::uint32_t kManyCopies = 10;

constexpr int kAnswerOk = 1;  // IDOK
constexpr int kAnswerNo = 7;  // IDNO

int g_dialog;  // any distinct address stands for the window handle

#ifdef _WIN32
constexpr const char* kSeparators = "\\/";
#else
constexpr const char* kSeparators = "/";
#endif

void ClearProgressLine() {
  Console& c = TheConsole();
  if (c.progressWidth == 0) return;
  std::fprintf(c.errors, "\r%*s\r", static_cast<int>(c.progressWidth), "");
  std::fflush(c.errors);
  c.progressWidth = 0;
}

void PrintLine(std::FILE* stream, const char* text) {
  std::fputs(text, stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

// Fills the dialog's buffer as the real dialog would, failing as it does when the choice
// does not fit.
OpenFileResult Answer(const OpenFileRequest& request, const std::string& chosen,
                      std::uint16_t fileOffset) {
  if (chosen.size() > request.bufferSize) return {false, 0};
  std::memcpy(request.buffer, chosen.data(), chosen.size());
  return {true, fileOffset};
}

}  // namespace

Console& TheConsole() {
  static Console console;
  return console;
}

void ConsoleOpenDialog() {
  MainDialogProc(&g_dialog, kMsgInitDialog, 0, 0);
}

void ConsolePress(int button) {
  MainDialogProc(&g_dialog, kMsgCommand, static_cast<std::uintptr_t>(button), 0);
}

void ConsoleReleaseInformation() {
  Console& c = TheConsole();
  c.holdInformation = false;
  std::fputs(c.heldInformation.c_str(), c.information);
  std::fflush(c.information);
  c.heldInformation.clear();
}

void ConsoleDiscardInformation() {
  Console& c = TheConsole();
  c.holdInformation = false;
  c.heldInformation.clear();
}

// "Writing copy i of n" on the error stream. The line is cleared when the command's wait
// cursor goes away and before any error is printed.
void UiShowProgress(std::uint32_t position, std::uint32_t count) {
  if (!TheConsole().showProgress || count < kManyCopies) return;
  Console& c = TheConsole();
  const int width = std::fprintf(c.errors, "\rWriting copy %u of %u", position + 1, count);
  std::fflush(c.errors);
  if (width > 1) c.progressWidth = static_cast<std::size_t>(width - 1);  // the \r takes no room
}

void UiSetBoxText(ControlId, const char*) {}

void UiResetList(ControlId) {}

void UiAddListRow(ControlId, const char*) {}

int UiListSelection(ControlId list) {
  return list == kTextureList ? TheConsole().answers.textureRow : -1;
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
      PrintLine(c.errors, text);
      return kAnswerOk;
    case MessageKind::kQuestion:
      return c.answers.acceptSuffixes ? kAnswerYes : kAnswerNo;
    case MessageKind::kInformation:
      if (c.holdInformation) {
        c.heldInformation.append(text).push_back('\n');
      } else {
        PrintLine(c.information, text);
      }
      return kAnswerOk;
  }
  return kAnswerOk;
}

OpenFileResult UiOpenFileDialog(const OpenFileRequest& request) {
  const ConsoleAnswers& answers = TheConsole().answers;
  if (request.flags == kModelDialogFlags && !answers.modelPath.empty()) {
    const auto slash = answers.modelPath.find_last_of(kSeparators);
    const auto name = slash == std::string::npos ? 0 : slash + 1;
    return Answer(request, answers.modelPath + '\0', static_cast<std::uint16_t>(name));
  }
  if (request.flags == kTextureDialogFlags && !answers.textureSelection.empty()) {
    return Answer(request, answers.textureSelection, answers.textureFileOffset);
  }
  return {false, 0};
}

void UiEndDialog() {}

UiWaitCursor::UiWaitCursor() : previous_(nullptr) {}

UiWaitCursor::~UiWaitCursor() {
  ClearProgressLine();
}
