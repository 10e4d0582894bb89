// A 32-bit build lists folders with 64-bit offsets too: ext4 gives each entry's position as a
// 64-bit hash, which the 32-bit readdir refuses.
#ifndef _FILE_OFFSET_BITS
#define _FILE_OFFSET_BITS 64
#endif

#include "file_walk.h"

#include <algorithm>
#include <memory>

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#endif

#include "common/text.h"
#include "host_paths.h"
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

#ifdef _WIN32
void ListFolderEntries(const fs::path& folder, FolderEntries& entries, std::error_code& error) {
  entries.clear();
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code kindError;  // a file gone meanwhile is just left out
    const bool link = it->is_symlink(kindError);
    entries.push_back({it->path().filename(), !link && it->is_directory(kindError),
                       it->is_regular_file(kindError)});
  }
}
#else
// The system's own listing: the standard library's makes a full path of every entry, which
// costs a player's setup of hundreds of folders more than the listing itself.
void ListFolderEntries(const fs::path& folder, FolderEntries& entries, std::error_code& error) {
  entries.clear();
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
  if (!dir) return error.assign(errno, std::generic_category());
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(dir.get());
    if (entry == nullptr) return error.assign(errno, std::generic_category());
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    bool isFolder = entry->d_type == DT_DIR, isFile = entry->d_type == DT_REG;
    struct stat st {};
    if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {  // links lead to their files
      isFolder = ::fstatat(::dirfd(dir.get()), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                 S_ISDIR(st.st_mode);
      isFile = ::fstatat(::dirfd(dir.get()), entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode);
    }
    entries.push_back({fs::path(name), isFolder, isFile});
  }
}
#endif

bool WalkFiles(const std::string& root,
               const std::function<void(std::string below, bool inRoot)>& take,
               std::vector<std::string>* rootNames, ListFolder list) {
  bool readAll = true;
  std::vector<std::string> folders = {std::string()};  // below root, still to list
  FolderEntries entries;
  std::string name;
  while (!folders.empty()) {
    const std::string below = std::move(folders.back());
    folders.pop_back();
    const fs::path folder = below.empty() ? root : JoinPath(root, below);
    std::error_code error;
    list(folder, entries, error);
    if (error) {
      Report(folder, "cannot read the folder: " + error.message());
      readAll = false;
      continue;
    }
    // In byte order, so that what is said comes in the same order on every system.
    std::ranges::sort(
        entries, {}, [](const FolderEntry& e) -> const auto& { return e.name.native(); });
    const std::size_t deeper = folders.size();
    for (const FolderEntry& entry : entries) {
      if (!ToString(entry.name, name)) {
        Report(folder / entry.name, "the system cannot give this name in its code page");
        readAll = false;
        continue;
      }
      if (!below.empty()) name = JoinPath(below, name);
      if (rootNames && below.empty()) rootNames->push_back(name);
      if (entry.folder)
        folders.push_back(std::move(name));
      else if (entry.file)
        take(std::move(name), below.empty());
    }
    std::reverse(folders.begin() + deeper, folders.end());
  }
  return readAll;
}
