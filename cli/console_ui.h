// The user-interface layer of texmint-cli. The dialog's questions are answered from the
// command line; errors are printed on stderr at once, and every other message is kept as a
// note until the command prints its report.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "front/file_dialog_choice.h"

struct Console {
  // What the next open-file dialog returns; none: the user cancels it.
  std::optional<FileDialogChoice> fileDialog;
  int textureRow = -1;          // the row picked in the texture list
  bool acceptSuffixes = false;  // the answer to the suffix question

  std::string notes;  // information messages, a line each
  bool errorShown = false;
  bool createNifsEnabled = false;
  bool showProgress = false;      // on a terminal only: a log file should not fill with it
  std::size_t progressWidth = 0;  // characters of the progress line on stderr
};

// The one console dialog.
Console& TheConsole();

// Delivers the opening message to the dialog procedure, as the system does.
void ConsoleOpenDialog();
// Presses one of the dialog's buttons.
void ConsolePress(int button);
