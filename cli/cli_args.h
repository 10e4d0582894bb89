// The command line of texmint-cli, read into what the commands need.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

enum class CliCommand { kHelp, kVersion, kList, kMake };

struct CliArgs {
  CliCommand command = CliCommand::kHelp;
  std::string model;
  std::uint32_t ref = 0;  // make: the texture reference to replace, as list numbers it
  bool suffix = false;    // make: answer Yes to the suffix question
  std::vector<std::string> textures;
};

struct CliParse {
  bool ok = false;
  CliArgs args;
  std::string error;  // one line, when !ok
};

// `args` are the program's arguments without the program name.
CliParse ParseCliArgs(std::span<const char* const> args);
