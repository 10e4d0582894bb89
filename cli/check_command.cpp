#include "check_command.h"

#include <algorithm>
#include <cstdio>

#include "cli_run.h"
#include "game_lookup.h"
#include "model/stored_path.h"
#include "model_files.h"

namespace {

// Prints a line for each of the model's external references; false when it could not be
// read, is no model, or has references past the table's 100 that go unchecked: exit status
// 0 must mean every reference was found.
bool CheckModel(const std::string& path, const GameFiles& files, bool& allFound) {
  ModelRefs model;
  if (!ReadModelRefs(path, model)) return false;
  for (std::uint32_t i = 0; i < model.count; ++i) {
    const std::string_view stored = StoredPath(model.bytes(), model.refs[i]);
    const std::vector<std::string> names = GameLookupNames(LookUpTexture(stored));
    const auto found =
        std::ranges::find_if(names, [&](const auto& n) { return files.contains(n); });
    allFound = allFound && found != names.end();
    std::printf("%s\t%u\t%.*s\t%s\t%s\n", path.c_str(), i, static_cast<int>(stored.size()),
                stored.data(), found != names.end() ? "found" : "missing",
                (found != names.end() ? *found : names.front()).c_str());
  }
  return !model.truncated;
}

}  // namespace

int RunCheck(const GameSources& sources, const std::vector<std::string>& models,
             std::string& usageError) {
  GameData data;
  if (!ResolveGameSources("check", sources, data, usageError)) return kExitUsage;
  if (usageError = ModelsMistake("check", models); !usageError.empty()) return kExitUsage;
  GameFiles files;
  bool readAll = ReadGameFiles(data, files);
  bool allFound = true;
  for (const std::string& argument : models) {
    std::vector<ModelFile> modelFiles;
    readAll = ListModelFiles(argument, modelFiles) && readAll;
    for (const ModelFile& file : modelFiles)
      readAll = CheckModel(file.path, files, allFound) && readAll;
  }
  std::fflush(stdout);
  return readAll && allFound ? kExitDone : kExitErrorShown;
}
