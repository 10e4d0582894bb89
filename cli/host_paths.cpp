#include "host_paths.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>

#include <filesystem>
#endif

std::string FullPath(const std::string& path) {
  if (path.empty()) return {};
#ifdef _WIN32
  char full[1024];
  return _fullpath(full, path.c_str(), sizeof full) ? std::string(full) : std::string();
#else
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  if (error) return {};
  // The dialog returns paths without "." and ".." steps; the copies' names depend on it.
  return absolute.lexically_normal().string();
#endif
}

PathKind KindOf(const std::string& path) {
  // Windows' stat refuses a folder named with a closing separator.
  const std::string named = WithoutClosingSeparator(path);
#ifdef _WIN32
  struct _stati64 st {};
  if (_stati64(named.c_str(), &st) != 0) return PathKind::kMissing;
#else
  struct stat st {};
  if (::stat(named.c_str(), &st) != 0) return PathKind::kMissing;
#endif
  switch (st.st_mode & S_IFMT) {
    case S_IFREG:
      return PathKind::kFile;
    case S_IFDIR:
      return PathKind::kFolder;
    default:
      return PathKind::kOther;
  }
}

std::string WithoutClosingSeparator(std::string fullPath) {
  while (fullPath.size() > 1 && FileNameStart(fullPath) == fullPath.size() &&
         fullPath[fullPath.size() - 2] != ':') {
    fullPath.pop_back();
  }
  return fullPath;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  const bool bareDrive = kPathSeparator == '\\' && path.size() == 2 && path[1] == ':';
  if (!path.empty() && !bareDrive && FileNameStart(path) != path.size()) path += kPathSeparator;
  return path.append(name);
}

std::string FolderMistake(std::string_view option, const std::string& dir) {
  const PathKind kind = KindOf(dir);
  if (kind == PathKind::kFolder) return {};
  return std::string(option) +
         (kind == PathKind::kMissing ? " folder not found: " : " is not a folder: ") + dir;
}

bool StderrIsTerminal() {
#ifdef _WIN32
  return _isatty(_fileno(stderr)) != 0;
#else
  return ::isatty(STDERR_FILENO) == 1;
#endif
}
