// A fresh folder per test, removed afterwards, and small file helpers.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "support/model_builder.h"

class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  std::string operator/(std::string_view relative) const { return (path_ / relative).string(); }

 private:
  std::filesystem::path path_;
};

void WriteBytes(const std::string& path, const Bytes& bytes);
Bytes ReadBytes(const std::string& path);
// Names of the files in `folder`, sorted.
std::vector<std::string> ListFolder(const std::filesystem::path& folder);

std::string FixturePath(const std::string& name);
