// The native front ends of the scenario interpreter.
#pragma once

#include <span>

#include "interpreter/scenario.h"

// texmint-cli, for the sessions that run it: a subprocess, or when set this command runner
// in this process (given the arguments after the program's name, paths in them full ones).
extern int (*g_cliInProcess)(std::span<const char* const> args);
void RunShellSession(const Session& session, Folder& folder);

// Runs the sessions on texmint-cli (`shell`) or on the dialog logic over the in-memory
// stand-in, in a scratch folder of the test's own named after `name`; how many failed.
int RunNativeSessions(const std::vector<Session>& sessions, bool shell, const std::string& name);
