#include "variants/texture_path.h"

std::string NewTexturePath(std::string_view storedPath, std::string_view name, bool keepFolder) {
  // npos + 1 is 0: a path without a backslash has no folder.
  const std::size_t folderEnd = keepFolder ? storedPath.rfind('\\') + 1 : 0;
  return std::string(storedPath.substr(0, folderEnd)).append(name);
}
