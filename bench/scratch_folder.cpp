#include "scratch_folder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace {

std::vector<std::filesystem::path>& Made() {
  static std::vector<std::filesystem::path> made;
  return made;
}

}  // namespace

std::filesystem::path MakeScratchFolder(const std::string& parent) {
  std::string pattern = (std::filesystem::path(parent) / "texmint-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) return {};
  Made().emplace_back(pattern);
  return pattern;
}

void RemoveScratchFolders() {
  for (const auto& folder : Made()) {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  Made().clear();
}

bool WriteWholeFile(const std::filesystem::path& path, const void* data, std::size_t size) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  const auto* bytes = static_cast<const char*>(data);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd, bytes + done, size - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  return ::close(fd) == 0 && done == size;
}

void EmptyFolder(const std::filesystem::path& folder) {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
    if (entry.is_regular_file(ignored)) std::filesystem::remove(entry.path(), ignored);
  }
}
