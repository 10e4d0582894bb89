#include "variants/texture_path.h"

#include "common/file_name.h"

std::string NewTexturePath(std::string_view storedPath, std::string_view name, bool keepFolder) {
  const std::size_t folderEnd = keepFolder ? StoredFileNameStart(storedPath) : 0;
  return std::string(storedPath.substr(0, folderEnd)).append(name);
}
