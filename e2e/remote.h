// Reading and pressing the windows of another process the way Wine lets us: texts through
// sent messages with a time limit, presses as posted messages (a sent click would wait for
// the modal loop it opens), and pictures of the screen.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Polls `ready` until it returns true, for at most `seconds`; fails naming `what`.
void WaitUntil(const std::string& what, const std::function<bool()>& ready, int seconds = 10);

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Presses a key in the window, as the keyboard would.
void PostKey(HWND window, WPARAM key);

std::string TextOf(HWND window);
std::vector<std::string> RowsOf(HWND list);
bool IsClass(HWND window, const char* name);
// Visible dialogs (class #32770) owned by `owner`.
std::vector<HWND> OwnedDialogs(HWND owner);
HWND FindChild(HWND parent, const char* className, int id);

// The pixels (0xRRGGBB, top row first) of a screen area, or of an icon drawn over a
// `background` pixel.
std::vector<COLORREF> Pixels(const RECT& area, HICON icon = nullptr, COLORREF background = 0);
void SaveBmp(const RECT& area, const std::string& path);
