// Drives the dialog logic through the in-memory stand-in, in a user's terms.
#pragma once

#include <string>
#include <vector>

#include "common/app_state.h"
#include "front/main_dialog.h"
#include "front/ui_standin.h"

inline std::intptr_t Command(int id) {
  return MainDialogProc(g_app.hwndMain, kMsgCommand, id, 0);
}

inline void StartDialog() {
  ResetAppState();
  StandinOpenDialog();
}

inline void SelectNif(const std::string& path) {
  TheStandin().fileDialogAnswers.push_back(ChooseOneFile(path));
  Command(kSelectNifButton);
}

inline void CancelSelectNif() {
  TheStandin().fileDialogAnswers.push_back({});
  Command(kSelectNifButton);
}

inline void SelectTextures(const std::string& folder, const std::vector<std::string>& names) {
  TheStandin().fileDialogAnswers.push_back(names.size() == 1
                                               ? ChooseOneFile(folder + "/" + names[0])
                                               : ChooseSeveralFiles(folder, names));
  Command(kSelectTexturesButton);
}

inline std::vector<std::string>& Rows(int list) {
  return TheStandin().lists[list].rows;
}
inline std::string& Box(int box) {
  return TheStandin().boxes[box];
}
