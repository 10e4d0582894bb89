#include "game_files.h"

#include <algorithm>
#include <string_view>

#include "bsa_archive.h"
#include "common/text.h"
#include "file_walk.h"
#include "game_config.h"
#include "game_lookup.h"
#include "host_paths.h"
#include "model_files.h"

namespace {

constexpr std::string_view kArchiveExtension = ".bsa";

// The game's names of the files found, gathered before the set is made, so that the set is
// made once at its full size.
using FoundNames = std::vector<std::string>;

// Adds the names the archive holds; false when it could not be read (said on stderr).
bool AddArchive(const std::string& file, FoundNames& found) {
  std::vector<std::string> names;
  std::string error;
  if (!ReadArchiveFileNames(file, names, error)) {
    ReportOn(file, "cannot read the archive: " + error);
    return false;
  }
  for (std::string& name : names) found.push_back(GameName(std::move(name)));
  return true;
}

// One walk of the data folder into `found`, with the names in each archive right in it when
// `withArchives`, and the names of the entries right in it into `rootNames` if given.
bool AddDataFolder(const std::string& dir, bool withArchives, FoundNames& found,
                   std::vector<std::string>* rootNames = nullptr) {
  bool readAll = true;
  const bool walked = WalkFiles(
      dir,
      [&](std::string file, bool inRoot) {
        if (withArchives && inRoot && HasExtension(file, kArchiveExtension))
          readAll = AddArchive(JoinPath(dir, file), found) && readAll;
        found.push_back(GameName(std::move(file)));
      },
      rootNames);
  return walked && readAll;
}

// Adds the archive the configuration names `name`: the entry so named in any letter case
// right in the last of `folders` that has one (entries listed in byte order, folders too, so
// the first so named in it); false when there is none or it could not be read.
bool AddNamedArchive(const std::string& name, const std::vector<std::string>& folders,
                     const std::vector<std::vector<std::string>>& rootNames, FoundNames& found) {
  for (std::size_t i = folders.size(); i-- > 0;) {
    const auto entry = std::ranges::find_if(
        rootNames[i], [&](const std::string& entry) { return EqualNoCase(entry, name); });
    if (entry != rootNames[i].end()) return AddArchive(JoinPath(folders[i], *entry), found);
  }
  ReportOn(name, "no data folder holds this archive");
  return false;
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
  GameConfig config;
  if (usageError.empty() && !sources.openmwCfg.empty())
    ReadOpenmwCfg(sources.openmwCfg, config, usageError);
  if (usageError.empty() && !sources.morrowindIni.empty())
    ReadMorrowindIni(sources.morrowindIni, config, usageError);
  data.dataDirs = sources.dataDirs;
  data.configFolders = std::move(config.dataFolders);
  data.archiveNames = std::move(config.archiveNames);
  return usageError.empty();
}

bool ReadGameFiles(const GameData& data, GameFiles& files) {
  bool readAll = true;
  FoundNames found;
  for (const std::string& dir : data.dataDirs) readAll = AddDataFolder(dir, true, found) && readAll;
  // The configuration names its archives, each looked for right in its data folders.
  std::vector<std::vector<std::string>> rootNames(data.configFolders.size());
  for (std::size_t i = 0; i < data.configFolders.size(); ++i)
    readAll = AddDataFolder(data.configFolders[i], false, found, &rootNames[i]) && readAll;
  for (const std::string& name : data.archiveNames)
    readAll = AddNamedArchive(name, data.configFolders, rootNames, found) && readAll;
  files.reserve(files.size() + found.size());
  for (std::string& name : found) files.insert(std::move(name));
  return readAll;
}
