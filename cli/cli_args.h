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
  bool longList = false;  // list: also each reference's stored path
  // make: the texture references to replace, by row as list numbers them and by name.
  std::vector<std::uint32_t> refs;
  std::vector<std::string> refNames;
  bool suffix = false;      // make: answer Yes to the suffix question
  bool keepFolder = false;  // make: each replaced reference keeps its folder
  std::string outDir;       // make: where the copies go; empty: beside MODEL
  bool dryRun = false;      // make: print what would be written, write nothing
  std::vector<std::string> textures;
};

struct CliParse {
  bool ok = false;
  CliArgs args;
  std::string error;  // one line, when !ok
};

// `args` are the program's arguments without the program name.
CliParse ParseCliArgs(std::span<const char* const> args);
