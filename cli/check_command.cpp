#include "check_command.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <unordered_set>

#include "bsa_archive.h"
#include "cli_run.h"
#include "common/text.h"
#include "game_lookup.h"
#include "host_paths.h"
#include "model/load_model.h"
#include "model/stored_path.h"
#include "model/texture_scan.h"

namespace {

namespace fs = std::filesystem;
using GameFiles = std::unordered_set<std::string>;  // game names, as GameName makes them

constexpr std::string_view kArchiveExtension = ".bsa";
constexpr std::string_view kModelExtension = ".nif";

bool HasExtension(const fs::path& file, std::string_view extension) {
  const std::string name = file.filename().string();
  return name.size() >= extension.size() &&
         EqualNoCase(std::string_view(name).substr(name.size() - extension.size()), extension);
}

void Report(const std::string& what, std::string_view message) {
  std::fprintf(stderr, "%s: %.*s\n", what.c_str(), static_cast<int>(message.size()),
               message.data());
}

// Windows' stat refuses a folder named with a closing separator.
PathKind KindOfArgument(const std::string& path) {
  return KindOf(WithoutClosingSeparator(path));
}

// Calls `take` with each regular file below `root`, and whether it lies right in it; false
// once the walk could not go on (said on stderr).
template <typename Take>
bool WalkFiles(const std::string& root, Take take) {
  std::error_code error;
  for (fs::recursive_directory_iterator it(root, error), end; !error && it != end;
       it.increment(error)) {
    std::error_code kindError;  // a file gone meanwhile is just left out
    if (it->is_regular_file(kindError)) take(it->path(), it.depth() == 0);
  }
  if (error) Report(root, "cannot read the folder: " + error.message());
  return !error;
}

// One walk of the data folder into the set, with the names in each archive right in it.
bool AddGameFiles(const std::string& dir, GameFiles& files) {
  bool readAll = true;
  const fs::path root(dir);
  std::vector<std::string> names;
  std::string error;
  const bool walked = WalkFiles(dir, [&](const fs::path& file, bool inRoot) {
    files.insert(GameName(file.lexically_relative(root).string()));
    if (!inRoot || !HasExtension(file, kArchiveExtension)) return;
    if (!ReadArchiveFileNames(file, names, error)) {
      Report(file.string(), "cannot read the archive: " + error);
      readAll = false;
    }
    for (const std::string& name : names) files.insert(GameName(name));
  });
  return walked && readAll;
}

// The model files `model` names, as they are printed: itself, or the .nif files below the
// folder, in byte order of their paths below it.
bool ModelFiles(const std::string& model, std::vector<std::string>& files) {
  if (KindOfArgument(model) != PathKind::kFolder) {
    files = {model};
    return true;
  }
  const fs::path root(model);
  const bool walked = WalkFiles(model, [&](const fs::path& file, bool) {
    if (HasExtension(file, kModelExtension))
      files.push_back(file.lexically_relative(root).string());
  });
  std::ranges::sort(files);
  const std::string folder = FileNameStart(model) == model.size() ? model : model + kPathSeparator;
  for (std::string& file : files) file.insert(0, folder);
  return walked;
}

// Prints a line for each of the model's external references; false when it could not be
// read, is no model, or has references past the table's 100 that go unchecked (said on
// stderr as the model load says it): exit status 0 must mean every reference was found.
bool CheckModel(const std::string& model, const GameFiles& files, bool& allFound) {
  ModelImage image;
  std::uint32_t size = 0;
  if (const char* failure = ReadModelImage(model.c_str(), image, size)) {
    Report(model, failure);
    return false;
  }
  const std::span<const std::uint8_t> bytes(image.get(), size);
  std::array<TextureRef, kMaxTextureRefs> refs;
  const ScanResult scan = ScanTextureRefs(bytes, refs);
  if (scan.status == ScanStatus::kNotNetImmerse) {
    Report(model, kMsgNotRecognized);
    return false;
  }
  if (scan.truncated) Report(model, kMsgFirstHundred);
  for (std::uint32_t i = 0; i < scan.refCount; ++i) {
    const std::string_view path = StoredPath(bytes, refs[i]);
    const std::vector<std::string> names = GameLookupNames(path);
    const auto found =
        std::ranges::find_if(names, [&](const auto& n) { return files.contains(n); });
    allFound = allFound && found != names.end();
    std::printf("%s\t%u\t%.*s\t%s\t%s\n", model.c_str(), i, static_cast<int>(path.size()),
                path.data(), found != names.end() ? "found" : "missing",
                (found != names.end() ? *found : names.front()).c_str());
  }
  return !scan.truncated;
}

bool UsageMistake(const std::vector<std::string>& dataDirs, const std::vector<std::string>& models,
                  std::string& usageError) {
  if (dataDirs.empty()) usageError = "check needs at least one --data DIR";
  for (const std::string& dir : dataDirs) {
    if (!usageError.empty()) break;
    if (const PathKind kind = KindOfArgument(dir); kind != PathKind::kFolder)
      usageError =
          (kind == PathKind::kMissing ? "--data folder not found: " : "--data is not a folder: ") +
          dir;
  }
  if (usageError.empty() && models.empty()) usageError = "check needs at least one MODEL";
  for (const std::string& model : models) {
    if (usageError.empty() && KindOfArgument(model) == PathKind::kMissing)
      usageError = "model not found: " + model;
  }
  return !usageError.empty();
}

}  // namespace

int RunCheck(const std::vector<std::string>& dataDirs, const std::vector<std::string>& models,
             std::string& usageError) {
  usageError.clear();
  if (UsageMistake(dataDirs, models, usageError)) return kExitUsage;
  bool readAll = true;
  GameFiles files;
  for (const std::string& dir : dataDirs) readAll = AddGameFiles(dir, files) && readAll;
  bool allFound = true;
  for (const std::string& model : models) {
    std::vector<std::string> modelFiles;
    readAll = ModelFiles(model, modelFiles) && readAll;
    for (const std::string& file : modelFiles)
      readAll = CheckModel(file, files, allFound) && readAll;
  }
  std::fflush(stdout);
  return readAll && allFound ? kExitDone : kExitErrorShown;
}
