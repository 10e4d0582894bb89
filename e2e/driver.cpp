// The window front end of the scenario interpreter: `texmint-driver.exe EXE WORK MODELS SHOTS
// SCENARIO` starts the real texmint.exe and uses it from another process, as a person would,
// for every dialog session of SCENARIO. Unix paths are reached through Wine's Z: drive. Texts
// are read with sent messages under a time limit, presses are posted (a sent click would wait
// for the modal loop it opens).
#include <windows.h>

#include <cstdio>
#include <fstream>

#include "front/ui.h"
#include "interpreter/scenario.h"

namespace {

constexpr int kFileNameBox = 0x47C;   // of the explorer-style open-file dialog
constexpr int kMessageText = 0xFFFF;  // of a message box, as Wine makes it

PROCESS_INFORMATION texmint{};  // the program under test, while it runs
HWND dialog = nullptr;          // its main window
WPARAM settles = 0;             // the marks Settle has posted
std::string program, shots;     // where texmint.exe is, where the screenshots go

void WaitUntil(const std::string& what, auto ready) {
  for (const ULONGLONG deadline = GetTickCount64() + 20000; !ready(); Sleep(20))
    if (GetTickCount64() > deadline) Fail("waited in vain for " + what);
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_BLOCK, 5000, &result))
    Fail("a window did not answer message " + std::to_string(message));
  return LRESULT(result);
}

void Post(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  if (!PostMessageA(window, message, wParam, lParam)) Fail("cannot post to a window");
}

std::string TextOf(HWND window) {
  // GetWindowText does not ask another process's edit box, so the box is asked directly.
  std::string text(std::size_t(Send(window, WM_GETTEXTLENGTH, 0, 0)) + 1, '\0');
  text.resize(std::size_t(Send(window, WM_GETTEXT, text.size(), LPARAM(text.data()))));
  return text;
}

// The dialog, or one of its controls; a failure once the dialog has closed.
HWND Dialog(int control = 0) {
  if (!IsWindow(dialog)) Fail("the Texmint dialog has closed");
  return control == 0 ? dialog : GetDlgItem(dialog, control);
}

std::string ListOf(int id) {
  HWND list = Dialog(id);
  std::vector<std::string> rows(Send(list, LB_GETCOUNT, 0, 0));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    // Across processes a row arrives in UTF-16, even through the ANSI call.
    std::wstring row(std::size_t(Send(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
    SendMessageTimeoutW(list, LB_GETTEXT, i, LPARAM(row.data()), SMTO_BLOCK, 5000, nullptr);
    rows[i].assign(row.begin(), row.end() - 1);
  }
  return ListText(rows, int(Send(list, LB_GETCURSEL, 0, 0)));
}

// The dialog (message box, file dialog) that a window shows, modal, or nullptr.
HWND Owned(HWND owner) {
  for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", nullptr)) != nullptr;)
    if (GetWindow(w, GW_OWNER) == owner && IsWindowVisible(w)) return w;
  return nullptr;
}

// Returns once the program has handled everything posted to it so far: a new text limit
// posted to the read-only path box, which nobody types into, arrives after all of it.
void Settle() {
  const WPARAM mark = 0x40000 + ++settles % 0x10000;
  Post(Dialog(IDC_PATH_BOX), EM_SETLIMITTEXT, mark);
  WaitUntil("texmint.exe to handle the last action",
            [&] { return Send(Dialog(IDC_PATH_BOX), EM_GETLIMITTEXT, 0, 0) == LRESULT(mark); });
}

HWND WaitForModal(bool messageBox, const std::string& what) {
  HWND up = nullptr;
  WaitUntil(what, [&] { return (up = Owned(Dialog())) != nullptr; });
  if ((GetDlgItem(up, kMessageText) != nullptr) != messageBox)
    Fail("instead of " + what + ": " + TextOf(up));
  return up;
}

void WaitForClose(HWND window, const std::string& what) {
  WaitUntil(what + " to close", [&] {
    if (HWND complaint = Owned(window))
      Fail(what + " said: " + TextOf(GetDlgItem(complaint, kMessageText)));
    return !IsWindow(window);
  });
}

// A box's kind, told by its buttons and caption: a question has Yes and No alone, the others
// OK alone, and only errors carry the error caption (icons are checked against windows.h).
std::string ReadBox(HWND box) {
  const std::string caption = TextOf(box);
  const bool ok = GetDlgItem(box, IDOK), yes = GetDlgItem(box, IDYES), no = GetDlgItem(box, IDNO);
  std::string kind = yes ? "question" : caption == kErrorCaption ? "error" : "information";
  if (GetDlgItem(box, IDCANCEL) || ok == yes || yes != no) kind += " with other buttons";
  return BoxText(kind, caption, TextOf(GetDlgItem(box, kMessageText)));
}

// The dialog and the boxes it owns, as a 32-bit BMP without the alpha the screen leaves.
void Screenshot(const std::string& name) {
  Settle();
  Sleep(300);  // let the last change reach the screen
  RECT area{}, box{};
  GetWindowRect(dialog, &area);
  if (HWND up = Owned(dialog)) GetWindowRect(up, &box), UnionRect(&area, &area, &box);
  InflateRect(&area, 8, 8);
  const LONG width = area.right - area.left, height = area.bottom - area.top;
  const DWORD bytes = width * height * 4;
  const BITMAPFILEHEADER file{0x4D42, 14 + 40 + bytes, 0, 0, 14 + 40};
  BITMAPINFO info{{40, width, -height, 1, 32, BI_RGB, bytes, 0, 0, 0, 0}, {}};
  void* pixels = nullptr;
  HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  GdiFlush();
  for (LONG i = 0; i < width * height; ++i) static_cast<DWORD*>(pixels)[i] &= 0xFFFFFF;
  std::ofstream out(shots + "\\" + name + ".bmp", std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), 14)
      .write(reinterpret_cast<const char*>(&info.bmiHeader), 40)
      .write(static_cast<const char*>(pixels), bytes);
  DeleteObject(bitmap), DeleteDC(memory), ReleaseDC(nullptr, screen);
  if (!out) Fail("cannot save the screenshot " + name);
}

void AnswerFileDialog(const Action& action) {
  HWND picker = WaitForModal(false, "the open-file dialog");
  const auto open = [&](const std::string& text) {
    Send(GetDlgItem(picker, kFileNameBox), WM_SETTEXT, 0, LPARAM(text.c_str()));
    Post(GetDlgItem(picker, IDOK), BM_CLICK);
    Settle();
  };
  std::string names;
  for (const auto& file : action.files) names += '"' + file.substr(file.rfind('\\') + 1) + "\" ";
  if (action.dialog == "cancel") Post(GetDlgItem(picker, IDCANCEL), BM_CLICK);
  // Several files: to their folder first when chosen by path, then their names.
  if (action.dialog == "choose" && action.files.size() > 1)
    open(action.files[0].substr(0, action.files[0].rfind('\\')));
  if (!action.files.empty()) open(action.files.size() == 1 ? action.files[0] : names);
  WaitForClose(picker, "the open-file dialog");
}

void Start() {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &texmint))
    Fail("cannot start " + program);
  WaitUntil("the Texmint dialog", [] {
    // Without a display the program cannot show its dialog, and ends at once.
    if (WaitForSingleObject(texmint.hProcess, 0) == WAIT_OBJECT_0) Fail("texmint.exe ended");
    DWORD owner = 0;
    GetWindowThreadProcessId(dialog = FindWindowA("#32770", "Texmint"), &owner);
    return owner == texmint.dwProcessId && IsWindowVisible(dialog);
  });
  Settle();
}

// Closes the program as a user does and expects exit code 0, or ends it by any means.
void Finish(bool close) {
  const HANDLE process = texmint.hProcess;
  if (process == nullptr) return;
  if (close && IsWindow(dialog)) Post(dialog, WM_CLOSE), WaitForSingleObject(process, 10000);
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  if (code == STILL_ACTIVE) TerminateProcess(process, 99), WaitForSingleObject(process, 5000);
  CloseHandle(texmint.hThread), CloseHandle(process), texmint = {};
  if (close && code != 0) Fail("texmint.exe closed with exit code " + std::to_string(code));
}

HWND Focus() {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(texmint.dwThreadId, &info);
  return info.hwndFocus;
}

// Esc, to whatever has the keyboard focus: the dialog's control or a message box's button.
void PressEsc() {
  Post(Focus(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  Post(Focus(), WM_KEYUP, VK_ESCAPE, LPARAM(0xC0010001u));
}

std::vector<std::string> Act(const Action& action) {
  std::vector<std::string> seen;
  if (action.what == "close") return Finish(true), seen;
  if (action.what == "select") {
    HWND list = Dialog(IDC_TEXTURE_LIST);
    RECT row{};
    if (Send(list, LB_GETITEMRECT, action.row, LPARAM(&row)) == LB_ERR) Fail("no such row");
    // A click, unlike LB_SETCURSEL, is what a user does.
    const LPARAM at = MAKELPARAM((row.left + row.right) / 2, (row.top + row.bottom) / 2);
    Post(list, WM_LBUTTONDOWN, MK_LBUTTON, at), Post(list, WM_LBUTTONUP, 0, at);
  } else if (action.button == "Esc") {
    PressEsc();
  } else {
    // A posted click reaches a disabled button too, which a user could not press.
    HWND button = Dialog(IdOfControl(action.button));
    if (!IsWindowEnabled(button)) Fail(action.button + " is disabled");
    Post(button, BM_CLICK);
  }
  if (!action.dialog.empty()) AnswerFileDialog(action);
  for (std::size_t i = 0; i < action.answers.size(); ++i) {
    HWND box = WaitForModal(true, "message box " + std::to_string(i + 1));
    seen.push_back(ReadBox(box));
    if (!action.shots[i].empty()) Screenshot(action.shots[i]);
    const std::string& answer = action.answers[i];
    const int button = answer == "Yes" ? IDYES : answer == "No" ? IDNO : IDOK;
    answer == "Esc" ? PressEsc() : Post(GetDlgItem(box, button), BM_CLICK);
    WaitForClose(box, "the message box");
  }
  Settle();
  // A box more than expected is reported as seen, so that the session says which.
  if (HWND extra = Owned(dialog)) seen.push_back(ReadBox(extra));
  return seen;
}

View Look() {
  Settle();
  HWND focus = Focus();
  return {{"path box", TextOf(Dialog(IDC_PATH_BOX))},
          {"folder box", TextOf(Dialog(IDC_FOLDER_BOX))},
          {"texture list", ListOf(IDC_TEXTURE_LIST)},
          {"replacement list", ListOf(IDC_REPLACEMENT_LIST)},
          {"Create NIFs", IsWindowEnabled(Dialog(IDC_CREATE_NIFS)) ? "enabled" : "disabled"},
          {"focus", GetParent(focus) == dialog ? NameOfControl(GetDlgCtrlID(focus)) : "elsewhere"}};
}

// Kept open, shared with nobody, until the driver ends; each session has a folder of its own.
void MakeUnreadable(const fs::path& path) {
  CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
}

std::string WindowsPath(const std::string& path) {
  return fs::absolute(path.starts_with("/") ? "Z:" + path : path).string();
}

void RunWindowSession(const Session& session, Folder& folder) {
  RunDialogSession(session, {Start, Act, Look, Screenshot, Finish}, folder);
}

}  // namespace

int main(int argc, char** argv) try {
  if (argc != 6) Fail("usage: texmint-driver EXE WORK MODELS SHOTS SCENARIO");
  program = WindowsPath(argv[1]), shots = WindowsPath(argv[4]);
  fs::create_directories(shots);
  const Folder base{WindowsPath(argv[2]), WindowsPath(argv[3]), {}, MakeUnreadable};
  const fs::path scenario = WindowsPath(argv[5]);
  return RunSessions(ReadScenario(ReadFileBytes(scenario), scenario.stem().string()), false, base,
                     RunWindowSession) > 0;
} catch (const std::exception& failure) {
  std::printf("%s\n", failure.what());
  return 1;
}
