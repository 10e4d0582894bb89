// Reading and pressing the windows of another process, the way Wine lets us do it: texts
// through sent messages with a timeout, list rows through the wide call, presses as posted
// messages (a sent click would block until the modal loop it opens ends).
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::chrono::milliseconds kDefaultWait{10000};

// Polls `ready` until it returns true; fails naming `what` when the time is up.
void WaitUntil(std::string_view what, const std::function<bool()>& ready,
               std::chrono::milliseconds limit = kDefaultWait);

std::string ClassOf(HWND window);
// Window classes compare without regard to case ("Edit" and "EDIT" are one class).
bool IsClass(HWND window, std::string_view className);
int ControlIdOf(HWND window);
std::string TextOf(HWND window);
void SetTextOf(HWND window, const std::string& text);

std::vector<std::string> ListRowsOf(HWND list);
int ListSelectionOf(HWND list);
RECT ListRowRectOf(HWND list, int row);

// Sends a message and returns its result; fails if the window does not answer.
LRESULT SendChecked(HWND window, UINT message, WPARAM wParam, LPARAM lParam, std::string_view what);
void PostChecked(HWND window, UINT message, WPARAM wParam, LPARAM lParam, std::string_view what);

// Visible top-level dialogs (class #32770) owned by `owner`.
std::vector<HWND> OwnedDialogs(HWND owner);
// The first descendant of `parent` with this class and control ID, or nullptr.
HWND FindDescendant(HWND parent, std::string_view className, int id);
// The window with the keyboard focus on the given thread, or nullptr.
HWND FocusedWindowOf(DWORD threadId);
