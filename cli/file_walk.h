// Walking a folder tree for the commands that read many files: the game's data folders and
// the model folders alike. A folder that cannot be read, or a name the system cannot give in
// its code page, is said on stderr and the walk goes on with everything else.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

bool HasExtension(std::string_view name, std::string_view extension);

struct FolderEntry {
  std::filesystem::path name;  // its own name
  bool folder = false;         // a folder, not a link to one: the walk goes into it
  bool file = false;           // a regular file, or a link to one
};
using FolderEntries = std::vector<FolderEntry>;

// The entries right in `folder`. The walk lists each folder through such a function, so that
// a test can refuse one the way a real system refuses it.
using ListFolder = void (*)(const std::filesystem::path& folder, FolderEntries& entries,
                            std::error_code& error);
void ListFolderEntries(const std::filesystem::path& folder, FolderEntries& entries,
                       std::error_code& error);

// Calls `take` with each regular file below `root` (its path below `root`, and whether it
// lies right in it); links to files count, links to folders are not followed. The names of
// all entries right in `root`, folders too, go to `rootNames` if given. False when a folder
// or a name could not be read.
bool WalkFiles(const std::string& root,
               const std::function<void(std::string below, bool inRoot)>& take,
               std::vector<std::string>* rootNames = nullptr, ListFolder list = ListFolderEntries);
