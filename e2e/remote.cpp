#include "remote.h"

#include <chrono>
#include <fstream>
#include <thread>

#include "interpreter/scenario.h"

void WaitUntil(const std::string& what, const std::function<bool()>& ready, int seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!ready()) {
    if (std::chrono::steady_clock::now() > deadline) {
      Fail("waited " + std::to_string(seconds) + " s for " + what);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK, 5000,
                           &result)) {
    Fail("a window did not answer message " + std::to_string(message));
  }
  return LRESULT(result);
}

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!PostMessageA(window, message, wParam, lParam)) Fail("cannot post to a window");
}

void PostKey(HWND window, WPARAM key) {
  Post(window, WM_KEYDOWN, key, 0x00010001);
  Post(window, WM_KEYUP, key, LPARAM(0xC0010001u));
}

std::string TextOf(HWND window) {
  // GetWindowText does not ask another process's edit box, so the box is asked directly.
  std::string text(std::size_t(Send(window, WM_GETTEXTLENGTH, 0, 0)) + 1, '\0');
  text.resize(std::size_t(Send(window, WM_GETTEXT, text.size(), LPARAM(text.data()))));
  return text;
}

std::vector<std::string> RowsOf(HWND list) {
  std::vector<std::string> rows;
  for (LRESULT i = 0, count = Send(list, LB_GETCOUNT, 0, 0); i < count; ++i) {
    // Across processes a row arrives in UTF-16, even through the ANSI call.
    std::wstring wide(std::size_t(Send(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
    DWORD_PTR length = 0;
    SendMessageTimeoutW(list, LB_GETTEXT, i, LPARAM(wide.data()), SMTO_BLOCK, 5000, &length);
    rows.emplace_back(wide.begin(), wide.begin() + std::min<std::size_t>(length, wide.size() - 1));
  }
  return rows;
}

bool IsClass(HWND window, const char* name) {
  char seen[64] = {};
  GetClassNameA(window, seen, sizeof seen);
  return lstrcmpiA(seen, name) == 0;
}

namespace {

using Search = std::pair<HWND, std::vector<HWND>>;  // the owner, and what it owns

BOOL CALLBACK CollectOwned(HWND window, LPARAM context) {
  auto& [owner, found] = *reinterpret_cast<Search*>(context);
  if (GetWindow(window, GW_OWNER) == owner && IsWindowVisible(window) &&
      IsClass(window, "#32770")) {
    found.push_back(window);
  }
  return TRUE;
}

}  // namespace

std::vector<HWND> OwnedDialogs(HWND owner) {
  Search search{owner, {}};
  EnumWindows(CollectOwned, LPARAM(&search));
  return search.second;
}

HWND FindChild(HWND parent, const char* className, int id) {
  for (HWND child = FindWindowExA(parent, nullptr, className, nullptr); child != nullptr;
       child = FindWindowExA(parent, child, className, nullptr)) {
    if (GetDlgCtrlID(child) == id) return child;
    if (HWND inner = FindChild(child, className, id)) return inner;
  }
  return nullptr;
}

std::vector<COLORREF> Pixels(const RECT& area, HICON icon, COLORREF background) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::vector<COLORREF> pixels;
  if (width > 0 && height > 0 && bitmap != nullptr) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    if (icon != nullptr) {
      const RECT all{0, 0, width, height};
      // Pixels read 0xRRGGBB; a brush takes 0xBBGGRR.
      HBRUSH brush =
          CreateSolidBrush(RGB(background >> 16 & 0xFF, background >> 8 & 0xFF, background & 0xFF));
      FillRect(memory, &all, brush);
      DeleteObject(brush);
      DrawIconEx(memory, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    } else {
      BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY | CAPTUREBLT);
    }
    GdiFlush();
    pixels.assign(static_cast<COLORREF*>(bits), static_cast<COLORREF*>(bits) + width * height);
    for (COLORREF& pixel : pixels) pixel &= 0xFFFFFF;
    SelectObject(memory, previous);
  }
  if (bitmap != nullptr) DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

void SaveBmp(const RECT& area, const std::string& path) {
  const std::vector<COLORREF> pixels = Pixels(area);
  const auto width = area.right - area.left, height = area.bottom - area.top;
  const DWORD bytes = DWORD(pixels.size() * 4);
  BITMAPFILEHEADER file{0x4D42, DWORD(sizeof file + sizeof(BITMAPINFOHEADER)) + bytes, 0, 0,
                        DWORD(sizeof file + sizeof(BITMAPINFOHEADER))};
  BITMAPINFOHEADER header{sizeof header, width, -height, 1, 32, BI_RGB, bytes, 0, 0, 0, 0};
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(reinterpret_cast<const char*>(pixels.data()), bytes);
  if (pixels.empty() || !out) Fail("cannot save the screenshot " + path);
}
