// What the texmint-cli tests share: scratch folders, snapshots of them, small model
// images and running the program as a user would.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/model_builder.h"
#include "support/scratch_dir.h"

namespace fs = std::filesystem;

using Scratch = ScratchDir;

std::string ReadFile(const fs::path& path);
// Writes `bytes`, creating the folders on the way.
void WriteFile(const fs::path& path, std::string_view bytes);

// Every entry under a folder by relative path: a file's bytes, or nothing for a folder.
using Snapshot = std::map<std::string, std::optional<std::string>>;
Snapshot TakeSnapshot(const fs::path& folder);
// The entries of `after` that are new or changed against `before`.
Snapshot Changes(const Snapshot& before, const Snapshot& after);

// Equal byte strings, or a short account of where they first differ (the texts involved
// are whole model files, too long to print).
testing::AssertionResult SameBytes(std::string_view actual, std::string_view expected);
// Equal snapshots, or which entries differ.
testing::AssertionResult SameSnapshot(const Snapshot& actual, const Snapshot& expected);

// A NetImmerse model with a version phrase, ready for texture records.
ModelBuilder ModelBytes();

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs texmint-cli with `args` in `folder`. With `errorOnTerminal`, its error stream is a
// terminal (a pseudo-terminal in raw mode, so the bytes arrive as written).
RunResult RunCli(const std::vector<std::string>& args, const fs::path& folder,
                 bool errorOnTerminal = false);

// Lines of a text, without their line feeds.
std::vector<std::string> Lines(std::string_view text);
