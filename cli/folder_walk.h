// The files below a folder, for the game's data folders and the model folders alike. A
// folder that cannot be read, or a name the system cannot give in its code page, is said on
// stderr and the walk goes on with everything else.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

using FolderEntries = std::vector<std::filesystem::directory_entry>;

// The entries right in `folder`. The walk lists each folder through such a function, so that
// a test can refuse one the way a real system refuses it.
using ListFolder = void (*)(const std::filesystem::path& folder, FolderEntries& entries,
                            std::error_code& error);
void ListFolderEntries(const std::filesystem::path& folder, FolderEntries& entries,
                       std::error_code& error);

// Calls `take` with each regular file below `root` (its path below `root`, and whether it
// lies right in it); links to files count, links to folders are not followed. False when a
// folder or a name could not be read.
bool WalkFiles(const std::string& root,
               const std::function<void(const std::string& below, bool inRoot)>& take,
               ListFolder list = ListFolderEntries);
