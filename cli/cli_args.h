// The command line of texmint-cli, read into what the commands need.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "game_files.h"

enum class CliCommand { kHelp, kVersion, kList, kMake, kCheck, kFix };

// How fix gives out the mended models.
enum class FixMode { kNone, kDryRun, kInPlace, kOut };

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
  std::string outDir;       // make, fix: where the copies go; empty: beside MODEL
  bool dryRun = false;      // make: print what would be written, write nothing
  std::vector<std::string> textures;
  GameSources sources;               // check, fix: where the game's files are
  std::vector<std::string> models;   // check, fix: model files and folders
  FixMode fixMode = FixMode::kNone;  // fix
};

struct CliParse {
  bool ok = false;
  CliArgs args;
  std::string error;  // one line, when !ok
};

// `args` are the program's arguments without the program name.
CliParse ParseCliArgs(std::span<const char* const> args);
