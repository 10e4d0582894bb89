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

namespace fs = std::filesystem;

// A fresh folder, removed with everything in it at the end of the test.
class Scratch {
 public:
  Scratch();
  ~Scratch();
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  const fs::path& path() const { return path_; }
  std::string operator/(std::string_view relative) const { return (path_ / relative).string(); }

 private:
  fs::path path_;
};

std::string ReadFile(const fs::path& path);
// Writes `bytes`, creating the folders on the way.
void WriteFile(const fs::path& path, std::string_view bytes);
std::string Fixture(const std::string& name);

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

// A NetImmerse model built byte by byte.
struct ModelBytes {
  std::string bytes;

  explicit ModelBytes(std::string_view version = ", Version 4.0.0.2\n");
  ModelBytes& Raw(std::string_view text);
  ModelBytes& U32(std::uint32_t value);
  // An unnamed texture record; returns the offset of its path's length field.
  std::uint32_t Texture(std::string_view path, std::uint8_t flag = 1);
};

// The copy the program must write: the path at [lengthOffset, tailOffset) replaced.
std::string ExpectedCopy(const std::string& model, std::uint32_t lengthOffset,
                         std::uint32_t tailOffset, std::string_view name);

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
