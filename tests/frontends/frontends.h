// The native front ends of the scenario interpreter.
#pragma once

#include "interpreter/scenario.h"

// The dialog logic over the in-memory stand-in, and texmint-cli as a subprocess.
void RunStandinSession(const Session& session, Folder& folder);
void RunShellSession(const Session& session, Folder& folder);

// A scratch folder of the test's own for its sessions, whose parent the test owns too.
Folder TestFolder(const std::string& name);
