// The scenario interpreter (the format is in tests/scenarios/README.md): it reads scenario
// files, makes what a session needs on disk, checks files, and runs dialog sessions
// against a front end. The shell front end uses its pieces for texmint-cli.
#pragma once

#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;

// Thrown when a session does not go as written; the text names the line.
using Failure = std::runtime_error;
[[noreturn]] void Fail(const std::string& message);

struct Step {
  int line;
  std::string verb;  // "have", "press", "select", "expect", "message", "run", ...
  std::string text;  // the rest of the line
};

struct Session {
  std::string title;
  std::vector<Step> steps;
};

// The sessions a scenario's text tells, each titled, or titled `name` when it has no title.
std::vector<Session> ReadScenario(const std::string& text, const std::string& name);
// True for a session that runs texmint-cli itself rather than the dialog.
bool IsShellSession(const Session& session);

struct Folder {
  fs::path work;                            // the session's own folder
  fs::path models;                          // the real models, tests/models
  std::map<std::string, std::string> made;  // each file's bytes as the session made it
  void (*makeUnreadable)(const fs::path& path);
};

// Expands {PATH}, {version} and {N*C}; with `escapes` also \n, \t and \\.
std::string Expand(const std::string& text, const Folder& folder, bool escapes = false);
std::vector<std::string> Words(const std::string& text);
// Splits at the first `separator`: {text, ""} when there is none.
std::pair<std::string, std::string> Cut(const std::string& text, const std::string& separator);
std::string ReadFileBytes(const fs::path& path);
// Does a `have` or `read-only` step.
void MakeFiles(const Step& step, Folder& folder);
// Checks a step if it is an expectation about files; false if it is not one.
bool CheckFiles(const Step& step, const Folder& folder);

// One thing the user does, with the answers to everything it brings up.
struct Action {
  std::string what;                  // "press", "select" (a row) or "close"
  std::string button;                // for press: a button's label, or "Esc"
  int row = -1;                      // for select row
  std::string dialog;                // "", "choose", "type" or "cancel"
  std::vector<std::string> files;    // choose: full paths; type: bare names
  std::vector<std::string> answers;  // for each message box expected: OK, Yes, No or Esc
  std::vector<std::string> shots;    // a screenshot to take while that box is up, or ""
};

// The dialog as the user sees it: "path box", "folder box", "texture list",
// "replacement list" (rows joined by " | ", the selected one in brackets), "Create NIFs"
// ("enabled" or "disabled") and "focus" (a control's name).
using View = std::map<std::string, std::string>;
std::string ListText(const std::vector<std::string>& rows, int selection);
// A message box as `message` lines write it: KIND "CAPTION": TEXT.
std::string BoxText(const std::string& kind, const std::string& caption, const std::string& text);

// The dialog's controls by name (1000 to 1006), and back.
int IdOfControl(const std::string& name);
std::string NameOfControl(int id);

struct Frontend {
  void (*start)();
  // Does it, answering the message boxes in order; returns the boxes seen, as BoxText.
  std::vector<std::string> (*act)(const Action& action);
  View (*look)();
  void (*screenshot)(const std::string& name);
  // Ends the program: closed as a user would after a passed session, else by any means.
  void (*finish)(bool passed);
};

void RunDialogSession(const Session& session, const Frontend& frontend, Folder& folder);

// Runs the sessions that run texmint-cli (`shell`) or else the dialog's, each by `run` in a
// fresh folder of its own inside base.work, or in base.work itself when there is one; prints
// how each went, and returns how many failed.
int RunSessions(std::vector<Session> sessions, bool shell, const Folder& base,
                void (*run)(const Session& session, Folder& folder));
