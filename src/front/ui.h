// The user-interface services the program uses, in its own terms. One implementation
// talks to Win32; a stand-in keeps the controls in memory for tests; the console front
// end answers from the command line. Exactly one of them is linked into a program.
#pragma once

#include <cstddef>
#include <cstdint>

// Control IDs of the main dialog.
enum ControlId : int {
  kPathBox = 1000,
  kSelectNifButton = 1001,
  kTextureList = 1002,
  kReplacementList = 1003,
  kSelectTexturesButton = 1004,
  kCreateNifsButton = 1005,
  kFolderBox = 1006,
};

// Message-box kinds, as the platform's type values.
enum class MessageKind : unsigned {
  kError = 0x10,        // MB_ICONERROR, OK
  kQuestion = 0x24,     // MB_ICONQUESTION | MB_YESNO
  kInformation = 0x40,  // MB_ICONINFORMATION, OK
};

inline constexpr int kAnswerYes = 6;  // IDYES

inline constexpr const char* kErrorCaption = "Texmint Error";
inline constexpr const char* kAppCaption = "Texmint";

// Open-file dialog flags.
inline constexpr unsigned kModelDialogFlags = 0x1804;
inline constexpr unsigned kTextureDialogFlags = 0x81A0C;

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
