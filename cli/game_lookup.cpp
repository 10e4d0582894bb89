#include "game_lookup.h"

#include <algorithm>
#include <span>

#include "common/text.h"
#include "host_paths.h"

namespace {

constexpr std::string_view kTexturesPrefix = "textures\\";
constexpr std::string_view kTexturesFolder = kTexturesPrefix.substr(0, kTexturesPrefix.size() - 1);
constexpr std::string_view kTextureExtension = ".dds";

std::string_view LastComponent(std::string_view name) {
  return name.substr(name.rfind('\\') + 1);
}

}  // namespace

std::string GameName(std::string_view path) {
  std::string name(path);
  std::ranges::replace(name, '/', '\\');
  std::ranges::transform(name, name.begin(), FoldToLower);
  return name;
}

std::vector<std::string> GameLookupNames(std::string_view storedPath) {
  std::string n = GameName(storedPath);
  n.erase(0, n.find_first_not_of('\\'));
  if (!n.starts_with(kTexturesPrefix)) n.insert(0, kTexturesPrefix);
  // The game takes everything from the last dot on as the extension, even in a folder name.
  const std::string e = n.substr(0, n.rfind('.')).append(kTextureExtension);
  const std::string root(kTexturesPrefix);
  std::vector<std::string> names;
  for (std::string name :
       {e, n, root + std::string(LastComponent(e)), root + std::string(LastComponent(n))}) {
    if (std::ranges::find(names, name) == names.end()) names.push_back(std::move(name));
  }
  return names;
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
