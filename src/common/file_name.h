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
