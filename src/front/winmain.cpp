// The program's entry: the main dialog, shown modally until it is closed.
#include <windows.h>

#include "front/main_dialog.h"

namespace {

// The platform calls dialog procedures with its own calling convention.
INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return MainDialogProc(dialog, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  DialogBoxParamA(nullptr, MAKEINTRESOURCEA(kMainDialogTemplate), nullptr, DialogProc, 0);
  return 0;
}
