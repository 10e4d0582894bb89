#include "game_lookup.h"

#include <algorithm>
#include <span>

#include "common/file_name.h"
#include "common/text.h"
#include "host_paths.h"

namespace {

constexpr std::string_view kTexturesFolder = kTexturesPrefix.substr(0, kTexturesPrefix.size() - 1);
// The folders the game finds anywhere in a stored path, tried in this order.
constexpr std::string_view kResourceFolders[] = {kTexturesPrefix, "bookart\\"};
constexpr std::string_view kTextureExtension = "dds";

// Where `folder` (with its closing backslash) first stands in `n` as a whole folder name
// with more path after it.
std::size_t FolderAt(std::string_view n, std::string_view folder) {
  for (std::size_t at = n.find(folder); at != std::string_view::npos; at = n.find(folder, at + 1)) {
    if ((at == 0 || n[at - 1] == '\\') && at + folder.size() < n.size()) return at;
  }
  return std::string_view::npos;
}

}  // namespace

std::string GameName(std::string path) {
  std::ranges::replace(path, '/', '\\');
  std::ranges::transform(path, path.begin(), FoldToLower);
  return path;
}

std::string_view GameFileName(std::string_view gameName) {
  return gameName.substr(StoredFileNameStart(gameName));
}

GameLookup LookUpTexture(std::string_view storedPath) {
  GameLookup lookup;
  std::string& n = lookup.n;
  for (const char c : GameName(std::string(storedPath))) {
    if (c != '\\' || n.empty() || n.back() != '\\') n.push_back(c);
  }
  if (n.starts_with('\\')) n.erase(0, 1);
  const auto folder = std::ranges::find_if(kResourceFolders, [&](std::string_view f) {
    return FolderAt(n, f) != std::string_view::npos;
  });
  if (folder != std::end(kResourceFolders)) {
    n.erase(0, FolderAt(n, *folder));
  } else {
    n.insert(0, kTexturesPrefix);
  }
  // Only the file name's extension is changed; a name without one is kept as it is.
  const std::size_t dot = n.rfind('.');
  lookup.extensionChanged = dot != std::string::npos && dot >= StoredFileNameStart(n);
  lookup.e = lookup.extensionChanged ? n.substr(0, dot + 1).append(kTextureExtension) : n;
  return lookup;
}

std::vector<std::string> GameLookupNames(const GameLookup& lookup) {
  const std::string root(kTexturesPrefix);
  std::vector<std::string> names{lookup.e};
  if (lookup.extensionChanged) names.push_back(lookup.n);
  names.push_back(root + std::string(GameFileName(lookup.e)));
  if (lookup.extensionChanged) names.push_back(root + std::string(GameFileName(lookup.n)));
  return names;
}

std::vector<std::string>::const_iterator FirstFound(const std::vector<std::string>& names,
                                                    const GameFiles& files) {
  return std::ranges::find_if(names, [&](const std::string& name) { return files.contains(name); });
}

std::optional<std::string> GameTexturePath(std::string_view filePath) {
  std::vector<std::string_view> parts;  // the folders and the file name
  for (std::size_t at = 0; at < filePath.size();) {
    const std::size_t end = std::min(filePath.find_first_of(kPathSeparators, at), filePath.size());
    if (end > at) parts.push_back(filePath.substr(at, end - at));
    at = end + 1;
  }
  if (parts.empty()) return std::nullopt;
  const auto folder = std::find_if(parts.rbegin() + 1, parts.rend(), [](std::string_view part) {
    return EqualNoCase(part, kTexturesFolder);
  });
  if (folder == parts.rend()) return std::nullopt;
  // The game looks a bare name up right in its textures folder.
  const std::span below(folder.base(), parts.end());
  std::string path(below.size() == 1 ? "" : kTexturesPrefix);
  for (const std::string_view part : below) path.append(part).push_back('\\');
  path.pop_back();
  return path;
}
