// Texmint as a user sees it: start it, press its buttons, fill its file dialogs, read its
// boxes and lists, answer its message boxes, close it. Every wait has a time limit.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The controls of the main dialog.
inline constexpr int kPathBox = 1000;
inline constexpr int kSelectNif = 1001;
inline constexpr int kTextureList = 1002;
inline constexpr int kReplacementList = 1003;
inline constexpr int kSelectTextures = 1004;
inline constexpr int kCreateNifs = 1005;
inline constexpr int kFolderBox = 1006;

struct Texmint {
  PROCESS_INFORMATION process{};
  HWND dialog = nullptr;
  unsigned settleCount = 0;
};

struct SeenMessageBox {
  HWND window = nullptr;
  std::string caption;
  std::string text;
  std::string kind;  // "error", "question", "information", or a description of anything else
};

// Starts the program and waits for its dialog.
void StartTexmint(Texmint& app, const std::string& program);
// Ends a program a failed scenario left behind.
void AbandonTexmint(Texmint& app);
// Closes the dialog as the close box does and expects the program to end with exit code 0.
void CloseTexmint(Texmint& app);

// Returns once the program has handled everything sent to it so far (including a press
// that opened a modal box: then the box is up).
void Settle(Texmint& app);
// Fails if a message box or file dialog is open over the main dialog.
void ExpectNoModal(Texmint& app);

HWND Control(const Texmint& app, int id);
std::string ControlName(int id);
std::string PathBoxText(Texmint& app);
std::string FolderBoxText(Texmint& app);
std::vector<std::string> TextureRows(Texmint& app);
std::vector<std::string> ReplacementRows(Texmint& app);
int TextureSelection(Texmint& app);
bool CreateNifsEnabled(const Texmint& app);
// The ID of the main dialog's control with the keyboard focus; 0 when the focus is elsewhere.
int FocusedControl(Texmint& app);

// Presses a button of the main dialog; fails if it is disabled, as a user could not press it.
void Press(Texmint& app, int button);
void ClickTextureRow(Texmint& app, int row);
void PressEsc(Texmint& app);

// The open-file dialog shown by Select NIF or Select Textures.
HWND WaitForFileDialog(Texmint& app);
// Chooses files (full paths, all in one folder) and expects the dialog to close.
void ChooseInFileDialog(Texmint& app, HWND dialog, const std::vector<std::string>& paths);
// Types a name as it is (for example a bare name, resolved in the dialog's folder).
void TypeInFileDialog(Texmint& app, HWND dialog, const std::string& text);
void CancelFileDialog(Texmint& app, HWND dialog);

// The user's commands, each with the file dialog it opens.
void SelectNif(Texmint& app, const std::string& path);
void SelectTextures(Texmint& app, const std::vector<std::string>& paths);
void CancelSelectNif(Texmint& app);
void CancelSelectTextures(Texmint& app);

SeenMessageBox WaitForMessageBox(Texmint& app);
// Presses IDOK, IDYES or IDNO of the box and waits for it to go.
void AnswerMessageBox(Texmint& app, const SeenMessageBox& box, int button);
// Presses Esc in the box and waits for it to go.
void DismissMessageBox(Texmint& app, const SeenMessageBox& box);
// Waits for a box, checks its kind, caption and text, and presses OK.
void ExpectMessageBox(Texmint& app, const std::string& kind, const std::string& caption,
                      const std::string& text);
