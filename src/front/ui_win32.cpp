// The user-interface services over Win32.
#include <windows.h>

#include <commdlg.h>  // needs windows.h first

#include <cstddef>

#include "common/app_state.h"
#include "front/main_dialog.h"
#include "front/ui.h"

// 76 bytes on 32-bit Windows: the record without its three trailing fields. The 64-bit
// build needs the same record's own size, or the dialog fails with CDERR_STRUCTSIZE.
constexpr DWORD kOpenFileNameSize =
    offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(OPENFILENAMEA::lpTemplateName);
static_assert(sizeof(void*) != 4 || kOpenFileNameSize == 76);
static_assert(sizeof(void*) != 8 || kOpenFileNameSize == 136);

// The portable layer hands these values to Win32 as they are.
static_assert(kMbOk == MB_OK && kMbYesNo == MB_YESNO && kMbIconError == MB_ICONERROR &&
              kMbIconQuestion == MB_ICONQUESTION && kMbIconInformation == MB_ICONINFORMATION);
static_assert(kIdOk == IDOK && kIdCancel == IDCANCEL && kIdYes == IDYES && kIdNo == IDNO);
static_assert(kOfnHideReadOnly == OFN_HIDEREADONLY && kOfnNoChangeDir == OFN_NOCHANGEDIR &&
              kOfnAllowMultiSelect == OFN_ALLOWMULTISELECT &&
              kOfnPathMustExist == OFN_PATHMUSTEXIST && kOfnFileMustExist == OFN_FILEMUSTEXIST &&
              kOfnExplorer == OFN_EXPLORER);
static_assert(kWmClose == WM_CLOSE && kWmInitDialog == WM_INITDIALOG && kWmCommand == WM_COMMAND);

namespace {

HWND MainWindow() {
  return static_cast<HWND>(g_app.hwndMain);
}

}  // namespace

void UiSetBoxText(ControlId box, const char* text) {
  SendDlgItemMessageA(MainWindow(), box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void UiResetList(ControlId list) {
  SendDlgItemMessageA(MainWindow(), list, LB_RESETCONTENT, 0, 0);
}

void UiAddListRow(ControlId list, const char* text) {
  SendDlgItemMessageA(MainWindow(), list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

int UiListSelection(ControlId list) {
  return static_cast<int>(SendDlgItemMessageA(MainWindow(), list, LB_GETCURSEL, 0, 0));
}

void UiEnableCreateNifs(bool enabled) {
  EnableWindow(GetDlgItem(MainWindow(), kCreateNifsButton), enabled ? TRUE : FALSE);
}

void UiSetFocus(ControlId control) {
  SetFocus(GetDlgItem(MainWindow(), control));
}

int UiMessageBox(const char* text, const char* caption, MessageKind kind) {
  return MessageBoxA(MainWindow(), text, caption, static_cast<UINT>(kind));
}

OpenFileResult UiOpenFileDialog(const OpenFileRequest& request) {
  OPENFILENAMEA ofn;
  ZeroMemory(&ofn, sizeof ofn);
  ofn.lStructSize = kOpenFileNameSize;
  ofn.hwndOwner = MainWindow();
  ofn.lpstrFilter = request.filter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = request.buffer;
  ofn.nMaxFile = request.bufferSize;
  ofn.lpstrInitialDir = request.initialDir;
  ofn.Flags = request.flags;
  if (!GetOpenFileNameA(&ofn)) return {false, 0};
  return {true, ofn.nFileOffset};
}

void UiEndDialog() {
  EndDialog(MainWindow(), 0);
}

void UiShowProgress(std::uint32_t, std::uint32_t) {}  // the wait cursor says enough

UiWaitCursor::UiWaitCursor() : previous_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}

UiWaitCursor::~UiWaitCursor() {
  SetCursor(static_cast<HCURSOR>(previous_));
}
