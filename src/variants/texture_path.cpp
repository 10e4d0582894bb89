#include "variants/texture_path.h"

std::string_view FolderOf(std::string_view storedPath) {
  const auto slash = storedPath.rfind('\\');
  return slash == std::string_view::npos ? std::string_view{} : storedPath.substr(0, slash + 1);
}

std::string NewTexturePath(std::string_view storedPath, std::string_view name, bool keepFolder) {
  std::string path(keepFolder ? FolderOf(storedPath) : std::string_view{});
  path += name;
  return path;
}
