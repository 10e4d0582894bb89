// The main dialog's procedure, its two resets and the Select NIF command.
#pragma once

#include <cstdint>

using DialogHandle = void*;

// The window messages the procedure handles.
inline constexpr unsigned kWmClose = 0x0010;       // WM_CLOSE
inline constexpr unsigned kWmInitDialog = 0x0110;  // WM_INITDIALOG
inline constexpr unsigned kWmCommand = 0x0111;     // WM_COMMAND

inline constexpr int kMainDialogTemplate = 129;

// Nonzero when the message was handled.
std::intptr_t MainDialogProc(DialogHandle dialog, unsigned message, std::uintptr_t wParam,
                             std::intptr_t lParam);

void ClearModel();
void ClearReplacements();
void ChooseModel();

// Enables Create NIFs exactly while a model with references and replacements are loaded.
void UpdateCreateNifsButton();
