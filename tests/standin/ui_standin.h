// An in-memory stand-in for the dialog's controls, for running the dialog logic without
// a window system. File dialogs and message boxes are answered from scripts and recorded.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "front/file_dialog_choice.h"
#include "front/ui.h"

struct StandinFileDialogAnswer {
  bool chosen = false;  // false: the user cancelled (or the dialog failed)
  FileDialogChoice choice;
  // Bare names typed by the user instead: found in the folder the dialog opened in.
  std::vector<std::string> typed;
};

struct StandinMessageBox {
  std::string text;
  std::string caption;
  MessageKind kind;
};

struct StandinList {
  std::vector<std::string> rows;
  int selection = -1;
};

struct Standin {
  std::map<int, std::string> boxes;  // path and folder boxes
  std::map<int, StandinList> lists;
  bool createNifsEnabled = true;  // as the template creates it, until the first reset
  int focus = 0;
  bool dialogEnded = false;

  StandinFileDialogAnswer fileDialogAnswer;  // the next dialog's; then a cancel
  int fileDialogsOpened = 0;
  std::deque<int> messageBoxAnswers;  // when empty, boxes answer OK (1)
  std::vector<StandinMessageBox> messageBoxes;
};

// The one stand-in dialog.
Standin& TheStandin();

// Starts a fresh dialog: clears the stand-in and delivers the opening message, then puts
// the focus on the first tab stop as the system does.
void StandinOpenDialog();
