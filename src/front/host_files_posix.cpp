// The host file layer on POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <string_view>
#include <vector>

#include "common/file_name.h"
#include "common/text.h"
#include "front/host_files.h"

namespace {

int Fd(FileHandle file) {
  return static_cast<int>(file);
}

FileHandle OpenForReading(const char* path) {
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  return fd < 0 ? kNoFile : FileHandle{fd};
}

bool SizeBySeeking(FileHandle file, std::uint64_t* size) {
  const off_t end = ::lseek(Fd(file), 0, SEEK_END);
  if (end < 0 || ::lseek(Fd(file), 0, SEEK_SET) != 0) return false;
  *size = static_cast<std::uint64_t>(end);
  return true;
}

std::size_t ReadUpTo(FileHandle file, std::uint8_t* into, std::size_t count) {
  std::size_t done = 0;
  while (done < count) {
    const ssize_t n = ::read(Fd(file), into + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

PathState InspectPath(const char* path) {
  struct stat st {};
  if (::stat(path, &st) != 0) return errno == ENOENT ? PathState::kMissing : PathState::kNotAFile;
  if (!S_ISREG(st.st_mode)) return PathState::kNotAFile;
  // Root may open any file for writing, so the permission bits are read directly.
  return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ? PathState::kReadOnly
                                                           : PathState::kWritable;
}

bool SameFile(const char* a, const char* b) {
  struct stat sa {
  }, sb{};
  if (::stat(a, &sa) != 0 || ::stat(b, &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

FileHandle CreateTempBeside(const char* finalPath, char* tempPath, std::size_t tempCapacity) {
  std::string_view folder(finalPath);
  folder = folder.substr(0, FileNameStart(folder));
  if (folder.empty()) folder = "./";
  std::vector<char> name(folder.begin(), folder.end());
  constexpr std::string_view kPattern = ".texmint-XXXXXX";
  name.insert(name.end(), kPattern.begin(), kPattern.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) return kNoFile;
  if (!CopyText({tempPath, tempCapacity}, name.data())) {
    ::close(fd);
    ::unlink(name.data());
    return kNoFile;
  }
  // mkstemp makes the file private; a copy should get the permissions of any new file.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  return fd;
}

bool WritePieces(FileHandle file, std::span<const std::span<const std::uint8_t>> pieces) {
  std::vector<iovec> vec;
  vec.reserve(pieces.size());
  for (const auto& piece : pieces) {
    if (!piece.empty()) vec.push_back({const_cast<std::uint8_t*>(piece.data()), piece.size()});
  }
  std::size_t first = 0;
  while (first < vec.size()) {
    const int count = static_cast<int>(std::min<std::size_t>(vec.size() - first, IOV_MAX));
    const ssize_t n = ::writev(Fd(file), vec.data() + first, count);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    // Step past what was written; a short write resumes inside a piece.
    auto left = static_cast<std::size_t>(n);
    while (first < vec.size() && left >= vec[first].iov_len) left -= vec[first++].iov_len;
    if (left > 0) {
      vec[first].iov_base = static_cast<std::uint8_t*>(vec[first].iov_base) + left;
      vec[first].iov_len -= left;
    }
  }
  return true;
}

bool CloseFile(FileHandle file) {
  return ::close(Fd(file)) == 0;
}

bool CopyPermissions(const char* from, const char* to) {
  struct stat st {};
  return ::stat(from, &st) == 0 && ::chmod(to, st.st_mode & 07777) == 0;
}

bool MoveOnto(const char* from, const char* to) {
  return std::rename(from, to) == 0;
}

void RemoveFile(const char* path) {
  ::unlink(path);
}

constexpr FileOps kPosixFileOps{
    OpenForReading,   SizeBySeeking, ReadUpTo,  AllocateBytes,   InspectPath, SameFile,
    CreateTempBeside, WritePieces,   CloseFile, CopyPermissions, MoveOnto,    RemoveFile,
};

}  // namespace

const FileOps& SystemFileOps() {
  return kPosixFileOps;
}
