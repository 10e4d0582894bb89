// The window front end of the scenario interpreter: starts the real texmint.exe and uses it
// from another process, as a person would, for every dialog session of a scenario file.
//
//   texmint-driver.exe EXE WORK MODELS SHOTS SCENARIO
//
// Unix paths are reached through Wine's Z: drive. Texts are read with sent messages under a
// time limit, presses are posted (a sent click would wait for the modal loop it opens).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <thread>

#include "front/ui.h"
#include "interpreter/scenario.h"

namespace {

constexpr int kFileNameBox = 0x47C;   // of the explorer-style open-file dialog
constexpr int kMessageText = 0xFFFF;  // of a message box, as Wine makes it

struct App {
  PROCESS_INFORMATION process{};
  HWND dialog = nullptr;
  WPARAM settles = 0;
  std::string program, shots;
  std::vector<HANDLE> locks;  // files kept unreadable for the session
} g;

void WaitUntil(const std::string& what, const std::function<bool()>& ready, int seconds = 10) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!ready()) {
    if (std::chrono::steady_clock::now() > deadline) Fail("waited in vain for " + what);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_BLOCK, 5000, &result)) {
    Fail("a window did not answer message " + std::to_string(message));
  }
  return LRESULT(result);
}

void Post(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  if (!PostMessageA(window, message, wParam, lParam)) Fail("cannot post to a window");
}

void PostEsc(HWND window) {
  Post(window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  Post(window, WM_KEYUP, VK_ESCAPE, LPARAM(0xC0010001u));
}

std::string TextOf(HWND window) {
  // GetWindowText does not ask another process's edit box, so the box is asked directly.
  std::string text(std::size_t(Send(window, WM_GETTEXTLENGTH, 0, 0)) + 1, '\0');
  text.resize(std::size_t(Send(window, WM_GETTEXT, text.size(), LPARAM(text.data()))));
  return text;
}

HWND Control(int id) {
  if (!IsWindow(g.dialog)) Fail("the Texmint dialog has closed");
  return GetDlgItem(g.dialog, id);
}

std::string ListOf(int id) {
  std::vector<std::string> rows;
  for (LRESULT i = 0, count = Send(Control(id), LB_GETCOUNT, 0, 0); i < count; ++i) {
    // Across processes a row arrives in UTF-16, even through the ANSI call.
    std::wstring row(std::size_t(Send(Control(id), LB_GETTEXTLEN, i, 0)) + 1, L'\0');
    SendMessageTimeoutW(Control(id), LB_GETTEXT, i, LPARAM(row.data()), SMTO_BLOCK, 5000, nullptr);
    rows.emplace_back(row.begin(), row.end() - 1);
  }
  return ListText(rows, int(Send(Control(id), LB_GETCURSEL, 0, 0)));
}

// The dialogs (message boxes, file dialogs) that a window owns.
std::vector<HWND> Owned(HWND owner) {
  std::vector<HWND> found;
  for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w != nullptr;
       w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
    if (GetWindow(w, GW_OWNER) == owner && IsWindowVisible(w)) found.push_back(w);
  }
  return found;
}

// Returns once the program has handled everything posted to it so far: a new text limit
// posted to the read-only path box, which nobody types into, arrives after all of it.
void Settle() {
  const WPARAM mark = 0x40000 + ++g.settles % 0x10000;
  Post(Control(IDC_PATH_BOX), EM_SETLIMITTEXT, mark);
  WaitUntil("texmint.exe to handle the last action",
            [&] { return Send(Control(IDC_PATH_BOX), EM_GETLIMITTEXT, 0, 0) == LRESULT(mark); });
}

HWND WaitForModal(bool messageBox, const std::string& what) {
  HWND found = nullptr;
  WaitUntil(what, [&] {
    for (HWND window : Owned(Control(IDC_PATH_BOX) ? g.dialog : nullptr)) {
      if ((GetDlgItem(window, kMessageText) != nullptr) != messageBox)
        Fail("instead of " + what + ": " + TextOf(window));
      found = window;
    }
    return found != nullptr;
  });
  return found;
}

void WaitForClose(HWND window, const std::string& what) {
  WaitUntil(what + " to close", [&] {
    for (HWND complaint : Owned(window))
      Fail(what + " said: " + TextOf(GetDlgItem(complaint, kMessageText)));
    return !IsWindow(window);
  });
}

// 32-bit pixels of a screen area.
std::vector<DWORD> Pixels(const RECT& area) {
  const LONG width = area.right - area.left, height = area.bottom - area.top;
  BITMAPINFO info{{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
  void* bits = nullptr;
  HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  GdiFlush();
  std::vector<DWORD> pixels(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + width * height);
  for (DWORD& pixel : pixels) pixel &= 0xFFFFFF;
  DeleteObject(bitmap), DeleteDC(memory), ReleaseDC(nullptr, screen);
  return pixels;
}

// A box's kind, told by its buttons and caption: a question has Yes and No alone, the others
// OK alone, and only errors carry the error caption. Which icon goes with each kind is
// checked where the program names them, against windows.h.
std::string ReadBox(HWND box) {
  const std::string caption = TextOf(box);
  const bool ok = GetDlgItem(box, IDOK), yes = GetDlgItem(box, IDYES), no = GetDlgItem(box, IDNO);
  std::string kind = yes ? "question" : caption == kErrorCaption ? "error" : "information";
  if (GetDlgItem(box, IDCANCEL) || ok == yes || yes != no) kind += " with other buttons";
  return BoxText(kind, caption, TextOf(GetDlgItem(box, kMessageText)));
}

void Screenshot(const std::string& name) {
  Settle();
  Sleep(300);  // let the last change reach the screen
  RECT area{}, box{};
  GetWindowRect(g.dialog, &area);
  for (HWND window : Owned(g.dialog)) GetWindowRect(window, &box), UnionRect(&area, &area, &box);
  InflateRect(&area, 8, 8);
  const std::vector<DWORD> pixels = Pixels(area);
  const LONG width = area.right - area.left, height = area.bottom - area.top;
  const DWORD bytes = DWORD(pixels.size() * 4), offset = 14 + 40;
  const BITMAPFILEHEADER file{0x4D42, offset + bytes, 0, 0, offset};
  const BITMAPINFOHEADER header{40, width, -height, 1, 32, BI_RGB, bytes, 0, 0, 0, 0};
  std::ofstream out(g.shots + "\\" + name + ".bmp", std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), 14)
      .write(reinterpret_cast<const char*>(&header), 40);
  if (!out.write(reinterpret_cast<const char*>(pixels.data()), bytes))
    Fail("cannot save the screenshot " + name);
}

void TypeAndOpen(HWND dialog, const std::string& text) {
  Send(GetDlgItem(dialog, kFileNameBox), WM_SETTEXT, 0, LPARAM(text.c_str()));
  Post(GetDlgItem(dialog, IDOK), BM_CLICK);
  Settle();
}

void AnswerFileDialog(const Action& action) {
  HWND dialog = WaitForModal(false, "the open-file dialog");
  std::string names;
  for (const auto& file : action.files)
    names.append("\"").append(file, file.rfind('\\') + 1).append("\" ");
  if (action.dialog == "cancel") {
    Post(GetDlgItem(dialog, IDCANCEL), BM_CLICK);
  } else if (action.files.size() == 1) {
    TypeAndOpen(dialog, action.files[0]);
  } else {
    // Several files: to their folder first, then their names.
    if (action.dialog == "choose")
      TypeAndOpen(dialog, action.files[0].substr(0, action.files[0].rfind('\\')));
    TypeAndOpen(dialog, names);
  }
  WaitForClose(dialog, "the open-file dialog");
}

void Start() {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string line = "\"" + g.program + "\"";
  if (!CreateProcessA(g.program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &g.process)) {
    Fail("cannot start " + g.program);
  }
  WaitUntil(
      "the Texmint dialog",
      [] {
        // Without a display the program cannot show its dialog, and ends at once.
        if (WaitForSingleObject(g.process.hProcess, 0) == WAIT_OBJECT_0)
          Fail("texmint.exe ended at once");
        DWORD owner = 0;
        GetWindowThreadProcessId(g.dialog = FindWindowA("#32770", "Texmint"), &owner);
        return owner == g.process.dwProcessId && IsWindowVisible(g.dialog);
      },
      20);
  Settle();
}

// Closes the program as a user does and expects exit code 0, or ends it by any means.
void Finish(bool close) {
  if (g.process.hProcess == nullptr) return;
  if (close && IsWindow(g.dialog))
    Post(g.dialog, WM_CLOSE), WaitForSingleObject(g.process.hProcess, 10000);
  DWORD code = 0;
  GetExitCodeProcess(g.process.hProcess, &code);
  if (code == STILL_ACTIVE)
    TerminateProcess(g.process.hProcess, 99), WaitForSingleObject(g.process.hProcess, 5000);
  for (HANDLE handle : g.locks) CloseHandle(handle);
  CloseHandle(g.process.hThread), CloseHandle(g.process.hProcess);
  g.process = {}, g.locks.clear();
  if (close && code != 0)
    Fail("closing the dialog ended texmint.exe with exit code " + std::to_string(code));
}

HWND Focus() {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(g.process.dwThreadId, &info);
  return info.hwndFocus;
}

std::vector<std::string> Act(const Action& action) {
  std::vector<std::string> seen;
  if (action.what == "close") return Finish(true), seen;
  if (action.what == "select row") {
    RECT row{};
    if (Send(Control(IDC_TEXTURE_LIST), LB_GETITEMRECT, action.row, LPARAM(&row)) == LB_ERR)
      Fail("no such row");
    // A click, unlike LB_SETCURSEL, is what a user does.
    const LPARAM at = MAKELPARAM((row.left + row.right) / 2, (row.top + row.bottom) / 2);
    Post(Control(IDC_TEXTURE_LIST), WM_LBUTTONDOWN, MK_LBUTTON, at),
        Post(Control(IDC_TEXTURE_LIST), WM_LBUTTONUP, 0, at);
  } else if (action.button == "Esc") {
    PostEsc(Focus());
  } else {
    // A posted click reaches a disabled button too, which a user could not press.
    if (!IsWindowEnabled(Control(IdOfControl(action.button)))) Fail(action.button + " is disabled");
    Post(Control(IdOfControl(action.button)), BM_CLICK);
  }
  if (!action.dialog.empty()) AnswerFileDialog(action);
  for (std::size_t i = 0; i < action.answers.size(); ++i) {
    HWND box = WaitForModal(true, "message box " + std::to_string(i + 1));
    seen.push_back(ReadBox(box));
    if (!action.shots[i].empty()) Screenshot(action.shots[i]);
    const std::string& answer = action.answers[i];
    if (answer == "Esc")
      PostEsc(GetDlgItem(box, IDNO));
    else
      Post(GetDlgItem(box, answer == "Yes" ? IDYES : answer == "No" ? IDNO : IDOK), BM_CLICK);
    WaitForClose(box, "the message box");
  }
  Settle();
  // A box more than expected is reported as seen, so that the session says which.
  for (HWND window : Owned(g.dialog)) return seen.push_back(ReadBox(window)), seen;
  return seen;
}

View Look() {
  Settle();
  HWND focus = Focus();
  return {
      {"path box", TextOf(Control(IDC_PATH_BOX))},
      {"folder box", TextOf(Control(IDC_FOLDER_BOX))},
      {"texture list", ListOf(IDC_TEXTURE_LIST)},
      {"replacement list", ListOf(IDC_REPLACEMENT_LIST)},
      {"Create NIFs", IsWindowEnabled(Control(IDC_CREATE_NIFS)) ? "enabled" : "disabled"},
      {"focus", GetParent(focus) == g.dialog ? NameOfControl(GetDlgCtrlID(focus)) : "elsewhere"}};
}

void MakeUnreadable(const fs::path& path) {
  // Shared with nobody, so the program's attempt to read it fails.
  g.locks.push_back(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
}

std::string WindowsPath(std::string path) {
  if (path.starts_with("/")) path = "Z:" + path;
  std::ranges::replace(path, '/', '\\');
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  return length > 0 && length < sizeof full ? std::string(full, length) : path;
}

}  // namespace

int main(int argc, char** argv) try {
  if (argc != 6) {
    std::fprintf(stderr, "usage: texmint-driver EXE WORK MODELS SHOTS SCENARIO\n");
    return 2;
  }
  g.program = WindowsPath(argv[1]), g.shots = WindowsPath(argv[4]);
  fs::create_directories(g.shots);
  std::vector<Session> sessions = ReadScenario(WindowsPath(argv[5]));
  std::erase_if(sessions, IsShellSession);
  int failed = 0, number = 0;
  for (const Session& session : sessions) {
    // A session alone has the folder to itself: its paths stay short for pictures.
    const fs::path work = WindowsPath(argv[2]);
    Folder folder{sessions.size() == 1 ? work : work / std::to_string(++number),
                  WindowsPath(argv[3]),
                  {},
                  MakeUnreadable};
    // A read-only file of an earlier run would stop remove_all on Windows.
    std::error_code none;  // no folder yet
    for (const auto& entry : fs::recursive_directory_iterator(folder.work, none)) {
      fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add);
    }
    fs::remove_all(folder.work);
    fs::create_directories(folder.work);
    std::printf("[ RUN      ] %s\n", session.title.c_str());
    try {
      RunDialogSession(session, {Start, Act, Look, Screenshot, Finish}, folder);
      std::printf("[       OK ] %s\n", session.title.c_str());
    } catch (const Failure& failure) {
      std::printf("[  FAILED  ] %s: %s\n", session.title.c_str(), failure.what());
      ++failed;
    }
    std::fflush(stdout);
  }
  return failed > 0 ? 1 : 0;
} catch (const Failure& failure) {
  std::printf("%s\n", failure.what());
  return 1;
}
