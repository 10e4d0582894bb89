#include "texmint_app.h"

#include <chrono>
#include <cstdint>

#include "check.h"
#include "remote_window.h"
#include "screen.h"

namespace {

// The file-name box of the explorer-style open-file dialog (a combo box holding an edit
// box of the same ID).
constexpr int kFileNameBox = 0x47C;
// The text of a message box.
constexpr int kMessageText = 0xFFFF;

// Settling posts a new text limit to the read-only path box, which no user can type into,
// and waits until the box reports it: posted messages are handled in order, so everything
// posted before has been handled by then.
constexpr WPARAM kSettleBase = 0x40000;

std::string ExitDescription(const Texmint& app) {
  DWORD code = 0;
  if (app.process.hProcess != nullptr && GetExitCodeProcess(app.process.hProcess, &code) &&
      code != STILL_ACTIVE) {
    return " (texmint.exe has ended with exit code " + std::to_string(code) + ")";
  }
  return "";
}

void ExpectDialogAlive(const Texmint& app) {
  if (!IsWindow(app.dialog)) Fail("the Texmint dialog has closed" + ExitDescription(app));
}

struct MainDialogSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchMainDialog(HWND window, LPARAM context) {
  auto& s = *reinterpret_cast<MainDialogSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char caption[64] = {};
  GetWindowTextA(window, caption, sizeof caption);
  if (owner == s.processId && IsWindowVisible(window) && IsClass(window, "#32770") &&
      GetWindow(window, GW_OWNER) == nullptr && std::string(caption) == "Texmint") {
    s.found = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindMainDialog(DWORD processId) {
  MainDialogSearch search{processId, nullptr};
  EnumWindows(MatchMainDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool IsMessageBox(HWND window) {
  return GetDlgItem(window, kMessageText) != nullptr;
}
bool IsFileDialog(HWND window) {
  return GetDlgItem(window, kFileNameBox) != nullptr;
}

std::string DescribeModal(HWND window) {
  if (IsMessageBox(window)) {
    return "message box " + Shown(TextOf(window)) + ": " +
           Shown(TextOf(GetDlgItem(window, kMessageText)));
  }
  if (IsFileDialog(window)) return "open-file dialog " + Shown(TextOf(window));
  return "dialog " + Shown(TextOf(window));
}

// A box the open-file dialog raised over itself (for example "file not found").
void ExpectNoComplaint(HWND fileDialog) {
  for (HWND box : OwnedDialogs(fileDialog)) {
    Fail("the open-file dialog complained with " + DescribeModal(box));
  }
}

HWND FileNameBox(HWND fileDialog) {
  if (HWND edit = FindDescendant(fileDialog, "Edit", kFileNameBox)) return edit;
  HWND box = GetDlgItem(fileDialog, kFileNameBox);
  if (box == nullptr) Fail("the open-file dialog has no file-name box");
  return box;
}

BOOL CALLBACK MatchIcon(HWND child, LPARAM context) {
  if (IsClass(child, "Static") && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
      IsWindowVisible(child)) {
    *reinterpret_cast<HWND*>(context) = child;
    return FALSE;
  }
  return TRUE;
}

HWND IconOf(HWND box) {
  HWND icon = nullptr;
  EnumChildWindows(box, MatchIcon, reinterpret_cast<LPARAM>(&icon));
  return icon;
}

// Tells the icon of a message box by drawing the system icons here and comparing pixels.
// Returns "" while the box has not been painted yet.
std::string IconKind(HWND box) {
  HWND icon = IconOf(box);
  if (icon == nullptr) return "none";
  RECT client{};
  GetClientRect(icon, &client);
  POINT origin{0, 0};
  ClientToScreen(icon, &origin);
  const RECT area{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
  const Image seen = CaptureScreen(area);
  if (seen.pixels.empty()) return "";

  struct Candidate {
    LPCSTR id;
    const char* kind;
  };
  const Candidate candidates[] = {
      {IDI_HAND, "error"},
      {IDI_QUESTION, "question"},
      {IDI_ASTERISK, "information"},
      {IDI_EXCLAMATION, "warning"},
  };
  const std::uint32_t background = seen.pixels.front();
  int best = seen.width * seen.height + 1, second = best;
  const char* bestKind = "";
  for (const Candidate& c : candidates) {
    const Image drawn = RenderIcon(LoadIconA(nullptr, c.id), seen.width, seen.height, background);
    const int differing = DifferingPixels(seen, drawn);
    if (differing < best) {
      second = best;
      best = differing;
      bestKind = c.kind;
    } else if (differing < second) {
      second = differing;
    }
  }
  const int pixels = seen.width * seen.height;
  return best * 50 <= pixels && best * 4 < second ? bestKind : "";
}

std::string BoxKind(HWND box, const std::string& icon) {
  const bool ok = GetDlgItem(box, IDOK) != nullptr;
  const bool yes = GetDlgItem(box, IDYES) != nullptr;
  const bool no = GetDlgItem(box, IDNO) != nullptr;
  const bool cancel = GetDlgItem(box, IDCANCEL) != nullptr;
  if (icon == "error" && ok && !yes && !no && !cancel) return "error";
  if (icon == "information" && ok && !yes && !no && !cancel) return "information";
  if (icon == "question" && yes && no && !ok && !cancel) return "question";
  std::string buttons;
  if (ok) buttons += " OK";
  if (yes) buttons += " Yes";
  if (no) buttons += " No";
  if (cancel) buttons += " Cancel";
  return "icon " + icon + " with buttons" + buttons;
}

}  // namespace

void StartTexmint(Texmint& app, const std::string& program) {
  Step step("start texmint.exe");
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string commandLine = "\"" + program + "\"";
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &app.process)) {
    Fail("cannot start " + program + " (error " + std::to_string(GetLastError()) + ")");
  }
  WaitUntil(
      "the dialog titled \"Texmint\" to appear",
      [&] {
        // Without a display the program cannot show its dialog and ends at once.
        if (WaitForSingleObject(app.process.hProcess, 0) == WAIT_OBJECT_0) {
          Fail("texmint.exe ended before showing its dialog" + ExitDescription(app));
        }
        app.dialog = FindMainDialog(app.process.dwProcessId);
        return app.dialog != nullptr;
      },
      std::chrono::seconds(20));
  Settle(app);
}

void AbandonTexmint(Texmint& app) {
  if (app.process.hProcess == nullptr) return;
  if (WaitForSingleObject(app.process.hProcess, 0) != WAIT_OBJECT_0) {
    TerminateProcess(app.process.hProcess, 99);
    WaitForSingleObject(app.process.hProcess, 5000);
  }
  CloseHandle(app.process.hThread);
  CloseHandle(app.process.hProcess);
  app.process = {};
}

void CloseTexmint(Texmint& app) {
  Step step("close the dialog");
  ExpectNoModal(app);
  PostChecked(app.dialog, WM_CLOSE, 0, 0, "closing the dialog");
  if (WaitForSingleObject(app.process.hProcess, 10000) != WAIT_OBJECT_0) {
    Fail("texmint.exe is still running 10 s after its dialog was closed");
  }
  DWORD code = 0;
  GetExitCodeProcess(app.process.hProcess, &code);
  if (code != 0) Fail("texmint.exe ended with exit code " + std::to_string(code) + ", expected 0");
  AbandonTexmint(app);
}

void Settle(Texmint& app) {
  ExpectDialogAlive(app);
  HWND box = Control(app, kPathBox);
  const WPARAM mark = kSettleBase + (++app.settleCount % 0x10000);
  PostChecked(box, EM_SETLIMITTEXT, mark, 0, "waiting for the program");
  WaitUntil("the program to handle the last action", [&] {
    ExpectDialogAlive(app);
    DWORD_PTR limit = 0;
    if (!SendMessageTimeoutA(box, EM_GETLIMITTEXT, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 1000,
                             &limit)) {
      ExpectDialogAlive(app);
      return false;
    }
    return limit == mark;
  });
}

void ExpectNoModal(Texmint& app) {
  Settle(app);
  for (HWND window : OwnedDialogs(app.dialog)) {
    Fail("unexpected " + DescribeModal(window));
  }
}

HWND Control(const Texmint& app, int id) {
  HWND control = GetDlgItem(app.dialog, id);
  if (control == nullptr) {
    ExpectDialogAlive(app);
    Fail("the dialog has no control " + std::to_string(id));
  }
  return control;
}

std::string ControlName(int id) {
  switch (id) {
    case kPathBox:
      return "the path box (1000)";
    case kSelectNif:
      return "Select NIF (1001)";
    case kTextureList:
      return "the texture list (1002)";
    case kReplacementList:
      return "the replacement list (1003)";
    case kSelectTextures:
      return "Select Textures (1004)";
    case kCreateNifs:
      return "Create NIFs (1005)";
    case kFolderBox:
      return "the folder box (1006)";
    case 0:
      return "no control of the dialog";
    default:
      return "control " + std::to_string(id);
  }
}

std::string PathBoxText(Texmint& app) {
  return TextOf(Control(app, kPathBox));
}
std::string FolderBoxText(Texmint& app) {
  return TextOf(Control(app, kFolderBox));
}
std::vector<std::string> TextureRows(Texmint& app) {
  return ListRowsOf(Control(app, kTextureList));
}
std::vector<std::string> ReplacementRows(Texmint& app) {
  return ListRowsOf(Control(app, kReplacementList));
}
int TextureSelection(Texmint& app) {
  return ListSelectionOf(Control(app, kTextureList));
}
bool CreateNifsEnabled(const Texmint& app) {
  return IsWindowEnabled(Control(app, kCreateNifs)) != FALSE;
}

int FocusedControl(Texmint& app) {
  HWND focus = FocusedWindowOf(app.process.dwThreadId);
  if (focus == nullptr || GetParent(focus) != app.dialog) return 0;
  return ControlIdOf(focus);
}

void Press(Texmint& app, int button) {
  HWND control = Control(app, button);
  // A posted click reaches even a disabled button; a user could not press it.
  if (!IsWindowEnabled(control)) Fail("cannot press " + ControlName(button) + ": it is disabled");
  PostChecked(control, BM_CLICK, 0, 0, "pressing " + ControlName(button));
  Settle(app);
}

void ClickTextureRow(Texmint& app, int row) {
  HWND list = Control(app, kTextureList);
  const RECT rect = ListRowRectOf(list, row);
  const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  // A click, unlike LB_SETCURSEL, makes the list tell the dialog about the new selection.
  PostChecked(list, WM_LBUTTONDOWN, MK_LBUTTON, at, "clicking a row");
  PostChecked(list, WM_LBUTTONUP, 0, at, "clicking a row");
  Settle(app);
  if (TextureSelection(app) != row) {
    Fail("clicking row " + std::to_string(row) + " of the texture list selected row " +
         std::to_string(TextureSelection(app)));
  }
}

void PressEsc(Texmint& app) {
  HWND focus = FocusedWindowOf(app.process.dwThreadId);
  if (focus == nullptr) Fail("no window has the keyboard focus, so Esc would go nowhere");
  PostChecked(focus, WM_KEYDOWN, VK_ESCAPE, 0x00010001, "pressing Esc");
  PostChecked(focus, WM_KEYUP, VK_ESCAPE, static_cast<LPARAM>(0xC0010001u), "releasing Esc");
  Settle(app);
}

HWND WaitForFileDialog(Texmint& app) {
  HWND found = nullptr;
  WaitUntil("the open-file dialog", [&] {
    ExpectDialogAlive(app);
    for (HWND window : OwnedDialogs(app.dialog)) {
      if (IsMessageBox(window)) Fail("instead of the open-file dialog: " + DescribeModal(window));
      if (IsFileDialog(window)) found = window;
    }
    return found != nullptr;
  });
  return found;
}

namespace {

void TypeAndOpen(Texmint& app, HWND dialog, const std::string& text) {
  HWND box = FileNameBox(dialog);
  SetTextOf(box, text);
  const std::string typed = TextOf(box);
  if (typed != text)
    Fail("typed " + Shown(text) + " into the file-name box, it shows " + Shown(typed));
  HWND open = GetDlgItem(dialog, IDOK);
  if (open == nullptr) Fail("the open-file dialog has no Open button");
  PostChecked(open, BM_CLICK, 0, 0, "pressing Open");
  Settle(app);
  ExpectNoComplaint(dialog);
}

void ExpectFileDialogClosed(Texmint& app, HWND dialog) {
  WaitUntil("the open-file dialog to close", [&] {
    ExpectDialogAlive(app);
    if (IsWindow(dialog)) ExpectNoComplaint(dialog);
    return !IsWindow(dialog);
  });
  Settle(app);
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('\\');
  if (slash == std::string::npos) Fail("not a full path: " + path);
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  return path.substr(path.find_last_of('\\') + 1);
}

}  // namespace

void ChooseInFileDialog(Texmint& app, HWND dialog, const std::vector<std::string>& paths) {
  if (paths.empty()) Fail("no file to choose");
  if (paths.size() == 1) {
    TypeAndOpen(app, dialog, paths.front());
  } else {
    // Several files: go to their folder first, then name them in quotes.
    const std::string folder = FolderOf(paths.front());
    TypeAndOpen(app, dialog, folder);
    if (!IsWindow(dialog)) Fail("the open-file dialog closed on a folder name");
    std::string names;
    for (const std::string& path : paths) {
      if (FolderOf(path) != folder) Fail("files to choose together must share a folder");
      names += (names.empty() ? "\"" : " \"") + NameOf(path) + "\"";
    }
    TypeAndOpen(app, dialog, names);
  }
  ExpectFileDialogClosed(app, dialog);
}

void TypeInFileDialog(Texmint& app, HWND dialog, const std::string& text) {
  TypeAndOpen(app, dialog, text);
  ExpectFileDialogClosed(app, dialog);
}

void CancelFileDialog(Texmint& app, HWND dialog) {
  HWND cancel = GetDlgItem(dialog, IDCANCEL);
  if (cancel == nullptr) Fail("the open-file dialog has no Cancel button");
  PostChecked(cancel, BM_CLICK, 0, 0, "pressing Cancel");
  ExpectFileDialogClosed(app, dialog);
}

void SelectNif(Texmint& app, const std::string& path) {
  Press(app, kSelectNif);
  ChooseInFileDialog(app, WaitForFileDialog(app), {path});
}

void SelectTextures(Texmint& app, const std::vector<std::string>& paths) {
  Press(app, kSelectTextures);
  ChooseInFileDialog(app, WaitForFileDialog(app), paths);
}

void CancelSelectNif(Texmint& app) {
  Press(app, kSelectNif);
  CancelFileDialog(app, WaitForFileDialog(app));
}

void CancelSelectTextures(Texmint& app) {
  Press(app, kSelectTextures);
  CancelFileDialog(app, WaitForFileDialog(app));
}

SeenMessageBox WaitForMessageBox(Texmint& app) {
  SeenMessageBox seen;
  WaitUntil("a message box", [&] {
    ExpectDialogAlive(app);
    for (HWND window : OwnedDialogs(app.dialog)) {
      if (IsFileDialog(window)) Fail("instead of a message box: " + DescribeModal(window));
      if (IsMessageBox(window)) seen.window = window;
    }
    return seen.window != nullptr;
  });
  Settle(app);
  seen.caption = TextOf(seen.window);
  seen.text = TextOf(GetDlgItem(seen.window, kMessageText));
  std::string icon;
  WaitUntil(
      "the message box " + Shown(seen.text) + " to show a recognisable icon",
      [&] {
        icon = IconKind(seen.window);
        return !icon.empty();
      },
      std::chrono::seconds(5));
  seen.kind = BoxKind(seen.window, icon);
  return seen;
}

namespace {

void ExpectMessageBoxClosed(Texmint& app, const SeenMessageBox& box) {
  WaitUntil("the message box " + Shown(box.text) + " to close", [&] {
    ExpectDialogAlive(app);
    return !IsWindow(box.window);
  });
  Settle(app);
}

}  // namespace

void AnswerMessageBox(Texmint& app, const SeenMessageBox& box, int button) {
  HWND control = GetDlgItem(box.window, button);
  if (control == nullptr) {
    Fail("the message box " + Shown(box.text) + " has no button " + std::to_string(button));
  }
  PostChecked(control, BM_CLICK, 0, 0, "pressing a message box button");
  ExpectMessageBoxClosed(app, box);
}

void DismissMessageBox(Texmint& app, const SeenMessageBox& box) {
  HWND focus = FocusedWindowOf(app.process.dwThreadId);
  if (focus == nullptr || (focus != box.window && GetParent(focus) != box.window)) {
    Fail("the message box " + Shown(box.text) + " does not have the keyboard focus");
  }
  PostChecked(focus, WM_KEYDOWN, VK_ESCAPE, 0x00010001, "pressing Esc");
  PostChecked(focus, WM_KEYUP, VK_ESCAPE, static_cast<LPARAM>(0xC0010001u), "releasing Esc");
  ExpectMessageBoxClosed(app, box);
}

void ExpectMessageBox(Texmint& app, const std::string& kind, const std::string& caption,
                      const std::string& text) {
  const SeenMessageBox box = WaitForMessageBox(app);
  ExpectText("message box text", box.text, text);
  ExpectText("caption of the message box " + Shown(box.text), box.caption, caption);
  ExpectText("kind of the message box " + Shown(box.text), box.kind, kind);
  AnswerMessageBox(app, box, IDOK);
}
