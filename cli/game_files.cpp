#include "game_files.h"

#include <string_view>

#include "bsa_archive.h"
#include "file_walk.h"
#include "game_lookup.h"
#include "host_paths.h"
#include "model_files.h"

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kArchiveExtension = ".bsa";

// Adds the names the archive holds; false when it could not be read (said on stderr).
bool AddArchive(const fs::path& file, GameFiles& files) {
  std::vector<std::string> names;
  std::string error;
  if (!ReadArchiveFileNames(file, names, error)) {
    ReportOn(file.string(), "cannot read the archive: " + error);
    return false;
  }
  for (const std::string& name : names) files.insert(GameName(name));
  return true;
}

// One walk of the data folder into the set, with the names in each archive right in it
// when `withArchives`.
bool AddDataFolder(const std::string& dir, bool withArchives, GameFiles& files) {
  bool readAll = true;
  const fs::path root(dir);
  const bool walked = WalkFiles(dir, [&](const fs::path& file, bool inRoot) {
    files.insert(GameName(file.lexically_relative(root).string()));
    if (withArchives && inRoot && HasExtension(file, kArchiveExtension))
      readAll = AddArchive(file, files) && readAll;
  });
  return walked && readAll;
}

}  // namespace

bool ResolveGameSources(std::string_view command, const GameSources& sources, GameData& data,
                        std::string& usageError) {
  usageError.clear();
  if (sources.dataDirs.empty() && sources.openmwCfg.empty() && sources.morrowindIni.empty())
    usageError =
        std::string(command) + " needs --data DIR, --openmw-cfg FILE or --morrowind-ini FILE";
  for (const std::string& dir : sources.dataDirs) {
    if (usageError.empty()) usageError = FolderMistake("--data", dir);
  }
  // TODO(config): --openmw-cfg and --morrowind-ini are read by the configuration readers.
  if (usageError.empty() && (!sources.openmwCfg.empty() || !sources.morrowindIni.empty()))
    usageError = "reading the game's configuration is not built yet";
  data.dataDirs = sources.dataDirs;
  return usageError.empty();
}

bool ReadGameFiles(const GameData& data, GameFiles& files) {
  bool readAll = true;
  for (const std::string& dir : data.dataDirs) readAll = AddDataFolder(dir, true, files) && readAll;
  for (const std::string& dir : data.configFolders)
    readAll = AddDataFolder(dir, false, files) && readAll;
  return readAll;
}
