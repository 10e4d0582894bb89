// texmint-cli: the dialog's commands, driven from the command line.
#pragma once

#include <span>

inline constexpr int kExitDone = 0;
inline constexpr int kExitErrorShown = 1;  // the dialog would have shown an error
inline constexpr int kExitUsage = 2;

// Runs one command line (without the program name) and returns the exit code.
int RunCli(std::span<const char* const> args);
