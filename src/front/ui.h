// The user-interface services the program uses, in its own terms. One implementation
// talks to Win32; a stand-in keeps the controls in memory for tests; the console front
// end answers from the command line. Exactly one of them is linked into a program.
#pragma once

#include <cstddef>
#include <cstdint>

#include "front/control_ids.h"

// Control IDs of the main dialog.
enum ControlId : int {
  kPathBox = IDC_PATH_BOX,
  kSelectNifButton = IDC_SELECT_NIF,
  kTextureList = IDC_TEXTURE_LIST,
  kReplacementList = IDC_REPLACEMENT_LIST,
  kSelectTexturesButton = IDC_SELECT_TEXTURES,
  kCreateNifsButton = IDC_CREATE_NIFS,
  kFolderBox = IDC_FOLDER_BOX,
};

// The platform's values this layer passes on unchanged; the Win32 layer checks each
// against windows.h.
inline constexpr unsigned kMbOk = 0x0, kMbYesNo = 0x4;
inline constexpr unsigned kMbIconError = 0x10, kMbIconQuestion = 0x20, kMbIconInformation = 0x40;
inline constexpr int kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7;
inline constexpr unsigned kOfnHideReadOnly = 0x4, kOfnNoChangeDir = 0x8,
                          kOfnAllowMultiSelect = 0x200, kOfnPathMustExist = 0x800,
                          kOfnFileMustExist = 0x1000, kOfnExplorer = 0x80000;

// Message-box kinds, as the platform's type values.
enum class MessageKind : unsigned {
  kError = kMbIconError | kMbOk,
  kQuestion = kMbIconQuestion | kMbYesNo,
  kInformation = kMbIconInformation | kMbOk,
};

inline constexpr const char* kErrorCaption = "Texmint Error";
inline constexpr const char* kAppCaption = "Texmint";

// Open-file dialog flags: an existing file; for the textures, several at once, and the
// process's current folder left alone.
inline constexpr unsigned kModelDialogFlags =
    kOfnFileMustExist | kOfnPathMustExist | kOfnHideReadOnly;
inline constexpr unsigned kTextureDialogFlags =
    kModelDialogFlags | kOfnExplorer | kOfnAllowMultiSelect | kOfnNoChangeDir;

struct OpenFileRequest {
  const char* filter;  // pairs of texts separated by NUL, ending in two NULs
  unsigned flags;
  char* buffer;  // zeroed by the caller
  std::uint32_t bufferSize;
  const char* initialDir;  // nullptr or empty: the system chooses
};

struct OpenFileResult {
  bool chosen;               // false on cancel or failure
  std::uint16_t fileOffset;  // offset of the first file name in the buffer
};

void UiSetBoxText(ControlId box, const char* text);
void UiResetList(ControlId list);
void UiAddListRow(ControlId list, const char* text);
int UiListSelection(ControlId list);  // -1 when no row is selected
void UiEnableCreateNifs(bool enabled);
void UiSetFocus(ControlId control);
// Shows a modal box owned by the main dialog; returns the button pressed.
int UiMessageBox(const char* text, const char* caption, MessageKind kind);
OpenFileResult UiOpenFileDialog(const OpenFileRequest& request);
void UiEndDialog();
// Called before each copy is written, with its position and the number of copies, so that
// a front end without a wait cursor can show how far the command has got.
void UiShowProgress(std::uint32_t position, std::uint32_t count);

// Shows the wait cursor for the life of the object.
class UiWaitCursor {
 public:
  UiWaitCursor();
  ~UiWaitCursor();
  UiWaitCursor(const UiWaitCursor&) = delete;
  UiWaitCursor& operator=(const UiWaitCursor&) = delete;

 private:
  void* previous_;
};

// Reports a failure to the user with the error caption and icon.
void ShowError(const char* text);
