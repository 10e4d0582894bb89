// Where a file's name starts in a path: after the last separator the system takes.
#pragma once

#include <cstddef>
#include <string_view>

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
inline constexpr std::string_view kPathSeparators = "\\/";
#else
inline constexpr char kPathSeparator = '/';
inline constexpr std::string_view kPathSeparators = "/";
#endif

constexpr std::size_t FileNameStart(std::string_view path) {
  const auto slash = path.find_last_of(kPathSeparators);
  return slash == std::string_view::npos ? 0 : slash + 1;
}

// Where the file name starts in a path a model stores. Models separate folders with a
// backslash only, whatever system wrote them.
constexpr std::size_t StoredFileNameStart(std::string_view storedPath) {
  return storedPath.rfind('\\') + 1;  // npos + 1 is 0: no folder
}
