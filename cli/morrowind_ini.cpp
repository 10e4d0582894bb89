// The original engine's Morrowind.ini, read the way OpenMW's importer reads it: its data
// folder is the Data Files beside it, its archives Morrowind.bsa and those of [Archives].
#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <system_error>

#include "common/text.h"
#include "config_file.h"
#include "game_config.h"

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kDataFolder = "Data Files";
constexpr std::string_view kArchivesSection = "Archives";
constexpr std::string_view kArchiveKey = "Archive ";
constexpr std::string_view kMainArchive = "Morrowind.bsa";  // the engine loads it unasked

// The folder named Data Files in any letter case beside the file: that spelling itself if
// it is there, else the first in byte order.
std::string DataFolderBeside(const fs::path& folder) {
  std::string found;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    std::error_code kindError;
    if (!EqualNoCase(name, kDataFolder) || !it->is_directory(kindError)) continue;
    if (found.empty() || name == kDataFolder || (found != kDataFolder && name < found))
      found = name;
  }
  return found.empty() ? found : (folder / found).string();
}

}  // namespace

std::vector<std::string> MorrowindIniArchives(std::string_view text) {
  std::map<std::string, std::vector<std::string>, std::less<>> archives;  // by key
  std::string_view section;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.starts_with('[')) {
      // A section line needs a name; the importer skips any other.
      if (const std::size_t close = line.find(']'); close != line.npos && close >= 2)
        section = line.substr(1, close - 1);
      continue;
    }
    line = line.substr(0, line.find(';'));
    const std::size_t equals = line.find('=');
    if (equals == line.npos || equals == 0 || equals + 1 == line.size()) continue;
    if (section != kArchivesSection) continue;
    archives[std::string(line.substr(0, equals))].emplace_back(TrimBlanks(line.substr(equals + 1)));
  }
  std::vector<std::string> names;
  for (std::size_t i = 0;; ++i) {
    const auto key = archives.find(std::string(kArchiveKey) + std::to_string(i));
    if (key == archives.end()) return names;
    names.insert(names.end(), key->second.begin(), key->second.end());
  }
}

bool ReadMorrowindIni(const std::string& file, GameConfig& config, std::string& error) {
  config = {};
  std::string text;
  if (!ReadConfigFile("--morrowind-ini", file, text, error)) return false;
  const std::string dataFolder = DataFolderBeside(FolderOf(file));
  if (dataFolder.empty()) {
    error = "no Data Files folder beside " + file;
    return false;
  }
  config.dataFolders = {dataFolder};
  config.archiveNames = {std::string(kMainArchive)};
  const std::vector<std::string> listed = MorrowindIniArchives(text);
  config.archiveNames.insert(config.archiveNames.end(), listed.begin(), listed.end());
  return true;
}
