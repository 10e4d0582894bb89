// OpenMW's openmw.cfg as OpenMW reads it: one setting a line, read file after file along the
// config= lines, later files taking priority.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

#include "config_file.h"
#include "game_config.h"
#include "host_paths.h"

#ifdef _WIN32
#include <windows.h>
//
#include <shlobj.h>
#endif

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kCfgName = "openmw.cfg";

// A path value: a quoted one runs to the next quote, `&` taking the byte after it as it is,
// and anything after the closing quote is dropped; any other value is the path verbatim.
bool Unquote(std::string_view value, std::string& path) {
  path.clear();
  if (!value.starts_with('"')) {
    path = value;
    return true;
  }
  for (std::size_t at = 1; at < value.size(); ++at) {
    if (value[at] == '"') return true;
    if (value[at] == '&' && ++at == value.size()) break;
    path.push_back(value[at]);
  }
  return false;
}

#ifndef _WIN32
std::optional<fs::path> FromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return fs::path(value);
}
#endif

// The folder a token stands for; nothing for an unknown token, or when the system does not
// say where the folder is.
std::optional<fs::path> TokenFolder(std::string_view token, const fs::path& local) {
  if (token == "?local?") return local;
#ifdef _WIN32
  if (token == "?userconfig?" || token == "?userdata?") {
    char documents[MAX_PATH];
    if (SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, documents) != S_OK)
      return std::nullopt;
    return fs::path(documents) / "My Games\\OpenMW\\";
  }
#elif defined(__APPLE__)
  const std::optional<fs::path> home = FromEnvironment("HOME");
  if (token == "?userconfig?" && home) return *home / "Library/Preferences/openmw/";
  if (token == "?userdata?" && home) return *home / "Library/Application Support/openmw/";
  if (token == "?global?") return fs::path("/Library/Application Support/openmw/");
#else
  const std::optional<fs::path> home = FromEnvironment("HOME");
  if (token == "?userconfig?") {
    if (const auto xdg = FromEnvironment("XDG_CONFIG_HOME")) return *xdg / "openmw/";
    if (home) return *home / ".config/openmw/";
  }
  if (token == "?userdata?") {
    if (const auto xdg = FromEnvironment("XDG_DATA_HOME")) return *xdg / "openmw/";
    if (home) return *home / ".local/share/openmw/";
  }
  if (token == "?global?") return fs::path("/usr/share/games/openmw/");
#endif
  return std::nullopt;
}

// The path a value of a file in `folder` names; empty when it names nothing.
fs::path Resolve(const std::string& value, const fs::path& folder, const fs::path& local) {
  if (!value.starts_with('?')) return folder / value;
  const std::size_t end = value.find('?', 1);
  if (end == value.npos) return {};
  const std::optional<fs::path> token =
      TokenFolder(std::string_view(value).substr(0, end + 1), local);
  return token ? *token / value.substr(end + 1) : fs::path();
}

struct CfgFile {
  fs::path folder;
  OpenmwCfgLines lines;
};

// Keeps `path` if it is a folder, as the game leaves out every other data path.
void AddFolder(const fs::path& path, std::vector<std::string>& folders) {
  if (!path.empty() && KindOf(path.string()) == PathKind::kFolder) folders.push_back(path.string());
}

}  // namespace

bool ParseOpenmwCfgText(std::string_view text, OpenmwCfgLines& lines, std::string& error) {
  lines = {};
  bool inSection = false;
  std::size_t number = 0;
  for (std::size_t at = 0; at <= text.size(); ++number) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    const std::string_view line = TrimBlanks(text.substr(at, end - at));
    at = end + 1;
    const auto fail = [&](const char* reason) {
      error = std::to_string(number + 1) + ": " + reason + ": " + std::string(line);
      return false;
    };
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[' && line.size() > 1 && line.back() == ']') {
      inSection = true;  // every later key has the section's name before it
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == line.npos) return fail("not a setting (KEY=VALUE)");
    if (inSection) continue;
    const std::string_view key = TrimBlanks(line.substr(0, equals));
    const std::string_view value = TrimBlanks(line.substr(equals + 1));
    const auto pathInto = [&](std::vector<std::string>& values) {
      std::string path;
      if (!Unquote(value, path)) return fail("no closing quote");
      values.push_back(std::move(path));
      return true;
    };
    const auto onceInto = [&](std::vector<std::string>& values) {
      return values.empty() ? pathInto(values) : fail("given twice in one file");
    };
    if (key == "data" && !pathInto(lines.data)) return false;
    if (key == "config" && !pathInto(lines.config)) return false;
    if (key == "data-local" && !onceInto(lines.dataLocal)) return false;
    if (key == "resources" && !onceInto(lines.resources)) return false;
    if (key == "fallback-archive") lines.fallbackArchives.emplace_back(value);
    if (key == "replace") {
      lines.replaceConfig |= value == "config";
      lines.replaceData |= value == "data";
      lines.replaceArchives |= value == "fallback-archive";
    }
  }
  return true;
}

bool ReadOpenmwCfg(const std::string& file, GameConfig& config, std::string& error) {
  config = {};
  std::string text;
  if (!ReadConfigFile("--openmw-cfg", file, text, error)) return false;
  const fs::path local = FolderOf(file);
  std::vector<fs::path> seen = {file};
  std::vector<CfgFile> files(1, CfgFile{local, {}});
  if (!ParseOpenmwCfgText(text, files[0].lines, error)) {
    error = file + ":" + error;
    return false;
  }
  // The config= lines still to follow, the next on top: depth first, in line order.
  std::vector<fs::path> pending;
  const auto follow = [&](const CfgFile& from) {
    for (auto dir = from.lines.config.rbegin(); dir != from.lines.config.rend(); ++dir) {
      if (fs::path path = Resolve(*dir, from.folder, local); !path.empty())
        pending.push_back(path / kCfgName);
    }
  };
  follow(files[0]);
  while (!pending.empty()) {
    const fs::path path = std::move(pending.back());
    pending.pop_back();
    std::error_code ignored;
    if (std::ranges::any_of(seen,
                            [&](const fs::path& s) { return fs::equivalent(s, path, ignored); }) ||
        KindOf(path.string()) != PathKind::kFile || !ReadWholeFile(path, text))
      continue;
    seen.push_back(path);
    CfgFile next{FolderOf(path), {}};
    if (!ParseOpenmwCfgText(text, next.lines, error)) {
      error = path.string() + ":" + error;
      return false;
    }
    if (next.lines.replaceConfig) files.resize(1);
    files.push_back(std::move(next));
    follow(files.back());
  }

  std::vector<std::string> data;
  fs::path dataLocal, resources;
  for (const CfgFile& cfg : files) {
    const OpenmwCfgLines& lines = cfg.lines;
    if (lines.replaceData) data.clear();
    for (const std::string& dir : lines.data) AddFolder(Resolve(dir, cfg.folder, local), data);
    if (lines.replaceArchives) config.archiveNames.clear();
    config.archiveNames.insert(config.archiveNames.end(), lines.fallbackArchives.begin(),
                               lines.fallbackArchives.end());
    if (!lines.dataLocal.empty()) dataLocal = Resolve(lines.dataLocal[0], cfg.folder, local);
    if (!lines.resources.empty()) resources = Resolve(lines.resources[0], cfg.folder, local);
  }
  if (!resources.empty()) AddFolder(resources / "vfs", config.dataFolders);
  config.dataFolders.insert(config.dataFolders.end(), data.begin(), data.end());
  AddFolder(dataLocal, config.dataFolders);
  return true;
}
