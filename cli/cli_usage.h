// What texmint-cli says about how it is used.
#pragma once

#include <string>

inline constexpr char kProgram[] = "texmint-cli";

// The --help text, on stdout.
void PrintUsage();

// Tells on stderr why the command line is refused; returns the usage exit status.
int UsageError(const std::string& reason);
