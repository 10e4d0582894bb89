// The native front ends of the scenario interpreter.
#pragma once

#include "interpreter/scenario.h"

// The dialog logic over the in-memory stand-in.
extern const Frontend kStandinFrontend;

// texmint-cli, for the sessions that run it.
void RunShellSession(const Session& session, Folder& folder);

// Runs the sessions of `file` that the front end can run, each in a scratch folder of its
// own, and reports each failure as a test failure.
void RunScenarioFile(const fs::path& file, bool shell);
