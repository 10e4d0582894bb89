#include "remote_window.h"

#include <thread>

#include "check.h"

namespace {

constexpr UINT kAnswerTimeoutMs = 5000;

}  // namespace

void WaitUntil(std::string_view what, const std::function<bool()>& ready,
               std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (ready()) return;
    if (std::chrono::steady_clock::now() >= deadline) {
      Fail("timed out after " + std::to_string(limit.count() / 1000) + " s waiting for " +
           std::string(what));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

LRESULT SendChecked(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                    std::string_view what) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                           kAnswerTimeoutMs, &result)) {
    Fail("no answer from the window while " + std::string(what) + " (error " +
         std::to_string(GetLastError()) + ")");
  }
  return static_cast<LRESULT>(result);
}

void PostChecked(HWND window, UINT message, WPARAM wParam, LPARAM lParam, std::string_view what) {
  if (!PostMessageA(window, message, wParam, lParam)) {
    Fail("could not post to the window while " + std::string(what) + " (error " +
         std::to_string(GetLastError()) + ")");
  }
}

std::string ClassOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

bool IsClass(HWND window, std::string_view className) {
  return lstrcmpiA(ClassOf(window).c_str(), std::string(className).c_str()) == 0;
}

int ControlIdOf(HWND window) {
  return GetDlgCtrlID(window);
}

std::string TextOf(HWND window) {
  // GetWindowText does not ask another process's edit box for its text, so ask it directly.
  const auto length = static_cast<std::size_t>(
      SendChecked(window, WM_GETTEXTLENGTH, 0, 0, "asking for a text's length"));
  std::string text(length + 1, '\0');
  const auto got = static_cast<std::size_t>(SendChecked(
      window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), "reading a text"));
  text.resize(got < length ? got : length);
  return text;
}

void SetTextOf(HWND window, const std::string& text) {
  SendChecked(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), "typing a text");
}

std::vector<std::string> ListRowsOf(HWND list) {
  const auto count = SendChecked(list, LB_GETCOUNT, 0, 0, "counting list rows");
  std::vector<std::string> rows;
  for (LRESULT i = 0; i < count; ++i) {
    const auto length = SendChecked(list, LB_GETTEXTLEN, i, 0, "measuring a list row");
    // Across processes the row arrives in UTF-16 even through the ANSI call.
    std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide.data()),
                             SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerTimeoutMs, &got)) {
      Fail("no answer from the list while reading row " + std::to_string(i));
    }
    wide.resize(static_cast<std::size_t>(got) <= static_cast<std::size_t>(length) ? got : length);
    std::string row;
    for (const wchar_t c : wide) row += c < 0x80 ? static_cast<char>(c) : '?';
    rows.push_back(row);
  }
  return rows;
}

int ListSelectionOf(HWND list) {
  return static_cast<int>(SendChecked(list, LB_GETCURSEL, 0, 0, "reading a list's selection"));
}

RECT ListRowRectOf(HWND list, int row) {
  RECT rect{};
  if (SendChecked(list, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect),
                  "locating a list row") == LB_ERR) {
    Fail("the list has no row " + std::to_string(row));
  }
  return rect;
}

namespace {

struct OwnedSearch {
  HWND owner;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectOwned(HWND window, LPARAM context) {
  auto& s = *reinterpret_cast<OwnedSearch*>(context);
  if (GetWindow(window, GW_OWNER) == s.owner && IsWindowVisible(window) &&
      IsClass(window, "#32770")) {
    s.found.push_back(window);
  }
  return TRUE;
}

struct DescendantSearch {
  std::string_view className;
  int id;
  HWND found;
};

BOOL CALLBACK MatchDescendant(HWND window, LPARAM context) {
  auto& s = *reinterpret_cast<DescendantSearch*>(context);
  if (GetDlgCtrlID(window) == s.id && IsClass(window, s.className)) {
    s.found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

std::vector<HWND> OwnedDialogs(HWND owner) {
  OwnedSearch search{owner, {}};
  EnumWindows(CollectOwned, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindDescendant(HWND parent, std::string_view className, int id) {
  DescendantSearch search{className, id, nullptr};
  EnumChildWindows(parent, MatchDescendant, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FocusedWindowOf(DWORD threadId) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(threadId, &info)) return nullptr;
  return info.hwndFocus;
}
