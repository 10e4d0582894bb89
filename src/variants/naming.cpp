#include "variants/naming.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "common/file_name.h"
#include "common/text.h"

namespace {

constexpr std::size_t kMaxFileNamePart = 24;
constexpr unsigned kMaxSuffixStart = 100;
constexpr std::size_t kMaxSuffix = 2;

std::string_view NameOf(const ReplacementName& entry) {
  return TextIn(entry.name);
}

}  // namespace

std::string MakeBasePath(std::string_view modelPath) {
  // Only the file-name part can carry the extension: a "." in a folder name is not one.
  const std::size_t nameStart = FileNameStart(modelPath);
  std::string_view name = modelPath.substr(nameStart);
  if (const auto dot = name.rfind('.'); dot != std::string_view::npos) name = name.substr(0, dot);
  name = name.substr(0, std::min(name.size(), kMaxFileNamePart));
  return std::string(modelPath.substr(0, nameStart)) + std::string(name);
}

std::string_view SuffixOf(std::string_view name, unsigned k) {
  const auto dot = name.rfind('.');
  if (dot == std::string_view::npos || dot < k) return {};
  return name.substr(k, dot - k);
}

unsigned FindSuffixStart(std::span<const ReplacementName> names) {
  if (names.size() < 2) return 0;
  if (std::ranges::any_of(
          names, [](const auto& n) { return NameOf(n).find('.') == std::string_view::npos; })) {
    return 0;
  }

  unsigned k = 0;
  for (;; ++k) {
    if (k == kMaxSuffixStart) return 0;
    // Every name has its "." at k or later, so none of them ends before k.
    const char c = FoldToUpper(names[0].name[k]);
    if (c == '.') return 0;
    bool differs = false;
    for (const auto& other : names.subspan(1)) {
      const char d = other.name[k];
      if (d == '.') return 0;
      if (FoldToUpper(d) != c) {
        differs = true;
        break;
      }
    }
    if (differs) break;
  }

  for (const auto& n : names) {
    if (NameOf(n).rfind('.') - k > kMaxSuffix) return 0;
  }

  // Suffixes that differ only in letter case would name one file on a file system that
  // ignores case, and one copy would silently replace another.
  std::vector<std::string_view> suffixes;
  suffixes.reserve(names.size());
  for (const auto& n : names) suffixes.push_back(SuffixOf(NameOf(n), k));
  std::ranges::sort(suffixes, [](auto a, auto b) { return CompareNoCase(a, b) < 0; });
  const bool clash = std::ranges::adjacent_find(suffixes, EqualNoCase) != suffixes.end();
  return clash ? 0 : k;
}

unsigned FindSuffixStart() {
  return FindSuffixStart(std::span(g_app.replacements).first(g_app.replacementCount));
}

std::string NumberedOutputPath(std::string_view basePath, unsigned number) {
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, "_%02u.nif", number);
  return std::string(basePath) + suffix;
}

std::string SuffixOutputPath(std::string_view basePath, std::string_view suffix) {
  return std::string(basePath) + "_" + std::string(suffix) + ".nif";
}
