// The native front ends of the scenario interpreter.
#pragma once

#include <span>

#include "interpreter/scenario.h"

// The dialog logic over the in-memory stand-in, and texmint-cli as a subprocess.
void RunStandinSession(const Session& session, Folder& folder);

// texmint-cli, for the sessions that run it: a subprocess, or when set this command runner
// in this process (given the arguments after the program's name), with its output caught.
extern int (*g_cliInProcess)(std::span<const char* const> args);
void RunShellSession(const Session& session, Folder& folder);

// A scratch folder of the test's own for its sessions, whose parent the test owns too.
Folder TestFolder(const std::string& name);
