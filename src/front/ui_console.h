// The user-interface layer of the command-line program. The dialog's questions are
// answered from the command line, and its messages are printed instead of shown: errors
// on the error stream, everything else on the information stream.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

struct ConsoleAnswers {
  std::string modelPath;         // what the model dialog returns: a full path
  std::string textureSelection;  // the texture dialog's result buffer, NULs included
  std::uint16_t textureFileOffset = 0;
  int textureRow = -1;          // the row picked in the texture list
  bool acceptSuffixes = false;  // the answer to the suffix question
};

struct Console {
  ConsoleAnswers answers;
  std::FILE* information = stdout;
  std::FILE* errors = stderr;
  // While set, information messages are kept back until released or discarded.
  bool holdInformation = false;
  std::string heldInformation;

  bool errorShown = false;
  bool createNifsEnabled = false;
  bool showProgress = false;      // on a terminal only: a log file should not fill with it
  std::size_t progressWidth = 0;  // characters of the progress line on the error stream
};

// The one console dialog.
Console& TheConsole();

// Delivers the opening message to the dialog procedure, as the system does.
void ConsoleOpenDialog();
// Presses one of the dialog's buttons.
void ConsolePress(int button);

void ConsoleReleaseInformation();
void ConsoleDiscardInformation();
