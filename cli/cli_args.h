// The command line of texmint-cli, read into what the commands need.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

enum class CliCommand { kHelp, kVersion, kList, kMake, kCheck };

struct CliArgs {
  CliCommand command = CliCommand::kHelp;
  std::string model;
  bool longList = false;  // list: also each reference's stored path
  // make: the texture references to replace, by row as list numbers them and by name.
  std::vector<std::uint32_t> refs;
  std::vector<std::string> refNames;
  bool suffix = false;      // make: answer Yes to the suffix question
  bool keepFolder = false;  // make: each replaced reference keeps its folder
  bool gamePath = false;    // make: each names its texture as the game finds it
  std::string outDir;       // make: where the copies go; empty: beside MODEL
  bool dryRun = false;      // make: print what would be written, write nothing
  std::vector<std::string> textures;
  std::vector<std::string> dataDirs;  // check: the game's data folders
  std::vector<std::string> models;    // check: model files and folders
};

struct CliParse {
  bool ok = false;
  CliArgs args;
  std::string error;  // one line, when !ok
};

// `args` are the program's arguments without the program name.
CliParse ParseCliArgs(std::span<const char* const> args);
