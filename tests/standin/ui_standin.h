// An in-memory stand-in for the dialog's controls, for running the dialog logic without
// a window system. File dialogs and message boxes are answered as a scenario words the
// answers, and the boxes are recorded.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "front/ui.h"

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

  // The next file dialog's answer, then a cancel: "choose" these full paths, "type" these
  // bare names (found in the folder the dialog opened in); anything else cancels.
  std::string fileDialog;
  std::vector<std::string> files;
  int fileDialogsOpened = 0;
  std::deque<std::string> answers;  // to the next boxes: Yes, No or Esc; else (or none) OK
  std::vector<StandinMessageBox> messageBoxes;
};

// The one stand-in dialog.
Standin& TheStandin();

// Starts a fresh dialog: clears the stand-in and delivers the opening message, then puts
// the focus on the first tab stop as the system does.
void StandinOpenDialog();
