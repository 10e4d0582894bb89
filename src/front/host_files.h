// What the core needs from the host system: reading the model, writing the copies and
// allocating the image. Plain functions behind one table, so that tests can make any
// single step fail on purpose; the program itself always runs with SystemFileOps().
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

using FileHandle = std::intptr_t;
inline constexpr FileHandle kNoFile = -1;

enum class PathState {
  kMissing,   // nothing of that name
  kWritable,  // a file that may be replaced
  kReadOnly,  // a file marked read-only (Windows attribute; no write bit at all on Linux)
  kNotAFile,  // a folder or anything else that must not be replaced
};

struct FileOps {
  FileHandle (*openForReading)(const char* path);
  // Seeks to the end, takes the position as the size and seeks back to the start.
  bool (*sizeBySeeking)(FileHandle file, std::uint64_t* size);
  // Reads until `count` bytes arrived or the file ended; returns how many arrived.
  std::size_t (*readUpTo)(FileHandle file, std::uint8_t* into, std::size_t count);
  // nullptr when the allocation fails.
  std::uint8_t* (*allocate)(std::size_t bytes);

  PathState (*inspectPath)(const char* path);
  // True when both names lead to one existing file.
  bool (*sameFile)(const char* a, const char* b);
  // Creates a new, empty file with a unique name in the folder of `finalPath`.
  FileHandle (*createTempBeside)(const char* finalPath, char* tempPath, std::size_t tempCapacity);
  // Writes every piece in order, whole.
  bool (*writePieces)(FileHandle file, std::span<const std::span<const std::uint8_t>> pieces);
  bool (*closeFile)(FileHandle file);
  // Gives the file `to` the permission bits (on Windows, the attributes) of the file `from`.
  bool (*copyPermissions)(const char* from, const char* to);
  // Moves `from` onto `to`, replacing a file of that name in one step.
  bool (*replaceFile)(const char* from, const char* to);
  void (*removeFile)(const char* path);
};

const FileOps& SystemFileOps();

// The allocation both system tables use: new[] without throwing.
std::uint8_t* AllocateBytes(std::size_t bytes);

// The table in use; tests point it elsewhere and back.
extern const FileOps* g_fileOps;

// Closes a file on every path out of a scope.
class ScopedFile {
 public:
  explicit ScopedFile(FileHandle file) : file_(file) {}
  ~ScopedFile() {
    if (file_ != kNoFile) g_fileOps->closeFile(file_);
  }
  ScopedFile(const ScopedFile&) = delete;
  ScopedFile& operator=(const ScopedFile&) = delete;

  FileHandle get() const { return file_; }
  // Closes now and reports whether the close succeeded.
  bool Close() {
    const FileHandle file = file_;
    file_ = kNoFile;
    return file == kNoFile || g_fileOps->closeFile(file);
  }

 private:
  FileHandle file_;
};
