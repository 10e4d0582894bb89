// The native front ends of the scenario interpreter.
#pragma once

#include "interpreter/scenario.h"

// The dialog logic over the in-memory stand-in.
extern const Frontend kStandinFrontend;

// texmint-cli: sessions that run it, and dialog sessions the command line can express.
bool ShellCanRun(const Session& session);
void RunShellSession(const Session& session, Folder& folder);
