// The native front ends of the scenario interpreter.
#pragma once

#include <span>

#include "interpreter/scenario.h"

// The dialog logic over the in-memory stand-in.
extern const Frontend kStandinFrontend;

// texmint-cli, for the sessions that run it: a subprocess, or when set this command runner
// in this process (given the arguments after the program's name), with its output caught.
extern int (*g_cliInProcess)(std::span<const char* const> args);
void RunShellSession(const Session& session, Folder& folder);

// Runs the sessions of `file` that the front end can run, each in a scratch folder of its
// own, and reports each failure as a test failure.
void RunScenarioFile(const fs::path& file, bool shell);
