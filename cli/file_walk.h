// Walking a folder tree for the commands that read many files.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

bool HasExtension(const std::filesystem::path& file, std::string_view extension);

// Calls `take` with each regular file below `root`, and whether it lies right in it; false
// once the walk could not go on (said on stderr).
bool WalkFiles(const std::string& root,
               const std::function<void(const std::filesystem::path&, bool inRoot)>& take);
