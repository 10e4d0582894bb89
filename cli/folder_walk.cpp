#include "folder_walk.h"

#include <algorithm>
#include <cstdio>

namespace {

namespace fs = std::filesystem;

// A path as the system's code page gives it; on Windows a name it has no characters for
// throws there, and is shown in UTF-8 instead.
bool ToString(const fs::path& path, std::string& text) {
  try {
    text = path.string();
    return true;
  } catch (const std::system_error&) {
    const std::u8string utf8 = path.u8string();
    text.assign(utf8.begin(), utf8.end());
    return false;
  }
}

void Report(const fs::path& path, const std::string& message) {
  std::string shown;
  ToString(path, shown);
  std::fprintf(stderr, "%s: %s\n", shown.c_str(), message.c_str());
}

}  // namespace

void ListFolderEntries(const fs::path& folder, FolderEntries& entries, std::error_code& error) {
  entries.clear();
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    entries.push_back(*it);
}

bool WalkFiles(const std::string& root,
               const std::function<void(const std::string& below, bool inRoot)>& take,
               ListFolder list) {
  bool readAll = true;
  std::vector<fs::path> folders = {fs::path()};  // below root, still to list
  FolderEntries entries;
  while (!folders.empty()) {
    const fs::path below = std::move(folders.back());
    folders.pop_back();
    std::error_code error;
    list(below.empty() ? fs::path(root) : root / below, entries, error);
    if (error) {
      Report(below.empty() ? fs::path(root) : root / below,
             "cannot read the folder: " + error.message());
      readAll = false;
      continue;
    }
    // In byte order, so that what is said comes in the same order on every system.
    std::ranges::sort(entries);
    const std::size_t deeper = folders.size();
    for (const fs::directory_entry& entry : entries) {
      const fs::path path = below / entry.path().filename();
      std::error_code kindError;  // a file gone meanwhile is just left out
      if (entry.is_symlink(kindError) || !entry.is_directory(kindError)) {
        std::string name;
        if (!entry.is_regular_file(kindError)) continue;
        if (ToString(path, name)) {
          take(name, below.empty());
        } else {
          Report(root / path, "the system cannot give this name in its code page");
          readAll = false;
        }
      } else {
        folders.push_back(path);
      }
    }
    std::reverse(folders.begin() + deeper, folders.end());
  }
  return readAll;
}
