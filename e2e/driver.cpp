// The window front end of the scenario interpreter: starts the real texmint.exe and uses it
// from outside, as a person would, for every dialog session of one scenario file.
//
//   texmint-driver.exe --program EXE --work DIR --models DIR [--shots DIR] SCENARIO
//
// Paths may be Unix paths; they are reached through Wine's Z: drive.
#include <cstdio>

#include "interpreter/scenario.h"
#include "remote.h"

namespace {

constexpr int kFileNameBox = 0x47C;  // in the explorer-style open-file dialog
constexpr int kMessageText = 0xFFFF;

struct App {
  PROCESS_INFORMATION process{};
  HWND dialog = nullptr;
  WPARAM settles = 0;
  std::string program, shots;
  std::vector<HANDLE> locks;  // files kept unreadable for the session
} g;

HWND Control(int id) {
  if (!IsWindow(g.dialog)) Fail("the Texmint dialog has closed");
  return GetDlgItem(g.dialog, id);
}

// Returns once the program has handled everything posted to it so far: a new text limit
// posted to the read-only path box, which nobody types into, arrives after all of it.
void Settle() {
  const WPARAM mark = 0x40000 + ++g.settles % 0x10000;
  Post(Control(1000), EM_SETLIMITTEXT, mark, 0);
  WaitUntil("texmint.exe to handle the last action", [&] {
    DWORD_PTR limit = 0;
    return SendMessageTimeoutA(Control(1000), EM_GETLIMITTEXT, 0, 0, SMTO_BLOCK, 1000, &limit) &&
           limit == mark;
  });
}

HWND Focus() {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(g.process.dwThreadId, &info);
  return info.hwndFocus;
}

bool IsMessageBox(HWND window) {
  return GetDlgItem(window, kMessageText) != nullptr;
}

HWND WaitForModal(bool messageBox, const std::string& what) {
  HWND found = nullptr;
  WaitUntil(what, [&] {
    Control(1000);  // fails at once if the program has ended
    for (HWND window : OwnedDialogs(g.dialog)) {
      if (IsMessageBox(window) != messageBox)
        Fail("instead of " + what + ": \"" + TextOf(window) + "\"");
      found = window;
    }
    return found != nullptr;
  });
  return found;
}

// The icon's kind, told by drawing each system icon here and comparing pixels; "" while
// the box is not yet painted.
std::string IconKind(HWND box) {
  HWND icon = nullptr;
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (IsClass(child, "Static") && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
      icon = child;
  }
  if (icon == nullptr) return "none";
  RECT area{};
  GetWindowRect(icon, &area);
  const std::vector<COLORREF> seen = Pixels(area);
  if (seen.empty()) return "";
  const std::pair<LPCSTR, const char*> kinds[] = {{IDI_HAND, "error"},
                                                  {IDI_QUESTION, "question"},
                                                  {IDI_ASTERISK, "information"},
                                                  {IDI_EXCLAMATION, "warning"}};
  for (const auto& [id, kind] : kinds) {
    const std::vector<COLORREF> drawn = Pixels(area, LoadIconA(nullptr, id), seen.front());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < seen.size(); ++i) differing += seen[i] != drawn[i];
    if (differing * 50 <= seen.size()) return kind;
  }
  return "";
}

std::string ReadBox(HWND window) {
  std::string kind;
  WaitUntil(
      "the message box's icon", [&] { return !(kind = IconKind(window)).empty(); }, 5);
  // Error and information boxes have OK alone; the question Yes and No alone.
  const bool ok = GetDlgItem(window, IDOK), yes = GetDlgItem(window, IDYES),
             no = GetDlgItem(window, IDNO);
  if (GetDlgItem(window, IDCANCEL) || ok == (yes || no) || yes != no ||
      (kind == "question") != yes) {
    kind +=
        " with buttons" + std::string(ok ? " OK" : "") + (yes ? " Yes" : "") + (no ? " No" : "");
  }
  return BoxText(kind, TextOf(window), TextOf(GetDlgItem(window, kMessageText)));
}

void Screenshot(const std::string& name) {
  if (g.shots.empty()) return;
  Settle();
  Sleep(300);  // let the last change reach the screen
  RECT area{};
  GetWindowRect(g.dialog, &area);
  for (HWND window : OwnedDialogs(g.dialog)) {
    RECT box{};
    GetWindowRect(window, &box);
    UnionRect(&area, &area, &box);
  }
  InflateRect(&area, 8, 8);
  SaveBmp(area, g.shots + "\\" + name + ".bmp");
}

void WaitForClose(HWND window, const std::string& what) {
  WaitUntil(what + " to close", [&] {
    for (HWND complaint : OwnedDialogs(window))
      Fail(what + " complained: " + TextOf(GetDlgItem(complaint, kMessageText)));
    return !IsWindow(window);
  });
}

void TypeAndOpen(HWND dialog, const std::string& text) {
  HWND box = FindChild(dialog, "Edit", kFileNameBox);
  if (box == nullptr) box = GetDlgItem(dialog, kFileNameBox);
  Send(box, WM_SETTEXT, 0, LPARAM(text.c_str()));
  Post(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  Settle();
}

void AnswerFileDialog(const Action& action) {
  HWND dialog = WaitForModal(false, "the open-file dialog");
  if (action.dialog == "cancel") {
    Post(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
  } else if (action.files.size() == 1) {
    TypeAndOpen(dialog, action.files[0]);
  } else {
    std::string names;
    for (const auto& file : action.files)
      names.append("\"").append(file, file.rfind('\\') + 1).append("\" ");
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
  std::string commandLine = "\"" + g.program + "\"";
  if (!CreateProcessA(g.program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &g.process)) {
    Fail("cannot start " + g.program);
  }
  WaitUntil(
      "the Texmint dialog",
      [] {
        // Without a display the program cannot show its dialog and ends at once.
        if (WaitForSingleObject(g.process.hProcess, 0) == WAIT_OBJECT_0)
          Fail("texmint.exe ended at once");
        g.dialog = FindWindowA("#32770", "Texmint");
        DWORD owner = 0;
        GetWindowThreadProcessId(g.dialog, &owner);
        return g.dialog != nullptr && owner == g.process.dwProcessId && IsWindowVisible(g.dialog);
      },
      20);
  Settle();
}

void EndProgram(bool close) {
  if (g.process.hProcess == nullptr) return;
  DWORD code = 0;
  if (close && IsWindow(g.dialog)) {
    Post(g.dialog, WM_CLOSE, 0, 0);
    WaitForSingleObject(g.process.hProcess, 10000);
  }
  GetExitCodeProcess(g.process.hProcess, &code);
  if (code == STILL_ACTIVE) TerminateProcess(g.process.hProcess, 99);
  WaitForSingleObject(g.process.hProcess, 5000);
  CloseHandle(g.process.hThread);
  CloseHandle(g.process.hProcess);
  g.process = {};
  for (HANDLE lock : g.locks) CloseHandle(lock);
  g.locks.clear();
  if (close && code != 0)
    Fail("closing the dialog ended texmint.exe with exit code " + std::to_string(code));
}

std::vector<std::string> Act(const Action& action) {
  std::vector<std::string> seen;
  if (action.what == "close") {
    EndProgram(true);
    return seen;
  }
  if (action.what == "select row") {
    RECT row{};
    if (Send(Control(1002), LB_GETITEMRECT, action.row, LPARAM(&row)) == LB_ERR)
      Fail("no such row");
    // A click, unlike LB_SETCURSEL, is what a user does.
    const LPARAM at = MAKELPARAM((row.left + row.right) / 2, (row.top + row.bottom) / 2);
    Post(Control(1002), WM_LBUTTONDOWN, MK_LBUTTON, at);
    Post(Control(1002), WM_LBUTTONUP, 0, at);
  } else if (action.button == "Esc") {
    PostKey(Focus(), VK_ESCAPE);
  } else {
    HWND button = Control(IdOfControl(action.button));
    // A posted click reaches a disabled button too; a user could not press it.
    if (!IsWindowEnabled(button)) Fail(action.button + " is disabled");
    Post(button, BM_CLICK, 0, 0);
  }
  if (!action.dialog.empty()) AnswerFileDialog(action);
  for (std::size_t i = 0; i < action.answers.size(); ++i) {
    HWND box = WaitForModal(true, "message box " + std::to_string(i + 1));
    seen.push_back(ReadBox(box));
    if (!action.shots[i].empty()) Screenshot(action.shots[i]);
    const std::string& answer = action.answers[i];
    if (answer == "Esc") {
      PostKey(GetDlgItem(box, IDNO), VK_ESCAPE);
    } else {
      HWND button = GetDlgItem(box, answer == "Yes" ? IDYES : answer == "No" ? IDNO : IDOK);
      Post(button ? button : box, BM_CLICK, 0, 0);
    }
    WaitForClose(box, "the message box");
  }
  Settle();
  // One more box than expected is reported as seen, so that the session says which.
  for (HWND window : OwnedDialogs(g.dialog)) {
    if (!IsMessageBox(window)) Fail("an open-file dialog is still open");
    seen.push_back(ReadBox(window));
    break;
  }
  return seen;
}

View Look() {
  Settle();
  HWND focus = Focus();
  const auto list = [](int id) {
    return ListText(RowsOf(Control(id)), int(Send(Control(id), LB_GETCURSEL, 0, 0)));
  };
  return {{"path box", TextOf(Control(1000))},
          {"folder box", TextOf(Control(1006))},
          {"texture list", list(1002)},
          {"replacement list", list(1003)},
          {"Create NIFs", IsWindowEnabled(Control(1005)) ? "enabled" : "disabled"},
          {"focus", GetParent(focus) == g.dialog ? NameOfControl(GetDlgCtrlID(focus))
                                                 : "outside the dialog"}};
}

void Finish(bool passed) {
  EndProgram(passed);
}

void MakeUnreadable(const fs::path& path) {
  // Shared with nobody, so the program's attempt to read it fails.
  const HANDLE lock =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (lock == INVALID_HANDLE_VALUE) Fail("cannot lock " + path.string());
  g.locks.push_back(lock);
}

std::string WindowsPath(std::string path) {
  if (path.starts_with("/")) path = "Z:" + path;
  for (char& c : path) c = c == '/' ? '\\' : c;
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  return length > 0 && length < sizeof full ? std::string(full, length) : path;
}

}  // namespace

int main(int argc, char** argv) {
  std::string work, models, scenario;
  const std::pair<const char*, std::string*> options[] = {
      {"--program", &g.program}, {"--work", &work}, {"--models", &models}, {"--shots", &g.shots}};
  bool known = argc % 2 == 0;
  for (int i = 1; known && i + 1 < argc; i += 2) {
    known = false;
    for (const auto& [name, value] : options) {
      if (argv[i] == std::string(name)) *value = WindowsPath(argv[i + 1]), known = true;
    }
  }
  if (!known || g.program.empty() || work.empty() || models.empty()) {
    std::fprintf(
        stderr,
        "usage: texmint-driver --program EXE --work DIR --models DIR [--shots DIR] SCENARIO\n");
    return 2;
  }
  scenario = WindowsPath(argv[argc - 1]);
  if (!g.shots.empty()) fs::create_directories(g.shots);
  const Frontend window = {Start, Act, Look, Screenshot, Finish};
  int failed = 0, number = 0;
  try {
    std::vector<Session> sessions = ReadScenario(scenario);
    std::erase_if(sessions, IsShellSession);
    for (const Session& session : sessions) {
      // A session of its own has the folder to itself: its paths stay short for pictures.
      const fs::path own =
          sessions.size() == 1 ? fs::path(work) : fs::path(work) / std::to_string(++number);
      Folder folder{own, models, {}, MakeUnreadable};
      // A read-only file of an earlier run would stop remove_all on Windows.
      std::error_code none;  // no folder yet
      for (const auto& entry : fs::recursive_directory_iterator(folder.work, none)) {
        fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add);
      }
      fs::remove_all(folder.work);
      fs::create_directories(folder.work);
      std::printf("[ RUN      ] %s\n", session.title.c_str());
      std::fflush(stdout);
      try {
        RunDialogSession(session, window, folder);
        std::printf("[       OK ] %s\n", session.title.c_str());
      } catch (const Failure& failure) {
        std::printf("[  FAILED  ] %s: %s\n", session.title.c_str(), failure.what());
        ++failed;
      }
      std::fflush(stdout);
    }
  } catch (const Failure& failure) {
    std::printf("%s\n", failure.what());
    return 1;
  }
  return failed > 0 ? 1 : 0;
}
