#include "file_walk.h"

#include <algorithm>

#include "common/text.h"
#include "model_files.h"

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

void Report(const fs::path& path, std::string_view message) {
  std::string shown;
  ToString(path, shown);
  ReportOn(shown, message);
}

}  // namespace

bool HasExtension(std::string_view name, std::string_view extension) {
  return name.size() >= extension.size() &&
         EqualNoCase(name.substr(name.size() - extension.size()), extension);
}

void ListFolderEntries(const fs::path& folder, FolderEntries& entries, std::error_code& error) {
  entries.clear();
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    entries.push_back(*it);
}

bool WalkFiles(const std::string& root,
               const std::function<void(const std::string& below, bool inRoot)>& take,
               std::vector<std::string>* rootNames, ListFolder list) {
  bool readAll = true;
  std::vector<fs::path> folders = {fs::path()};  // below root, still to list
  FolderEntries entries;
  while (!folders.empty()) {
    const fs::path below = std::move(folders.back());
    folders.pop_back();
    const fs::path folder = below.empty() ? fs::path(root) : root / below;
    std::error_code error;
    list(folder, entries, error);
    if (error) {
      Report(folder, "cannot read the folder: " + error.message());
      readAll = false;
      continue;
    }
    // In byte order, so that what is said comes in the same order on every system.
    std::ranges::sort(entries);
    const std::size_t deeper = folders.size();
    for (const fs::directory_entry& entry : entries) {
      const fs::path path = below / entry.path().filename();
      std::string name;
      if (!ToString(path, name)) {
        Report(root / path, "the system cannot give this name in its code page");
        readAll = false;
        continue;
      }
      if (rootNames && below.empty()) rootNames->push_back(name);
      std::error_code kindError;  // a file gone meanwhile is just left out
      if (!entry.is_symlink(kindError) && entry.is_directory(kindError))
        folders.push_back(path);
      else if (entry.is_regular_file(kindError))
        take(name, below.empty());
    }
    std::reverse(folders.begin() + deeper, folders.end());
  }
  return readAll;
}
