#include "memory_file_ops.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr FileHandle kTheFile = 3;

std::span<const std::uint8_t> g_bytes;
std::size_t g_position = 0;
bool g_open = false;

FileHandle Open(const char* path) {
  if (std::strcmp(path, kMemoryFilePath) != 0 || g_open) return kNoFile;
  g_open = true;
  g_position = 0;
  return kTheFile;
}

bool Size(FileHandle file, std::uint64_t* size) {
  if (file != kTheFile || !g_open) std::abort();
  *size = g_bytes.size();
  g_position = 0;
  return true;
}

std::size_t Read(FileHandle file, std::uint8_t* into, std::size_t count) {
  if (file != kTheFile || !g_open) std::abort();
  const std::size_t n = std::min(count, g_bytes.size() - g_position);
  if (n > 0) std::memcpy(into, g_bytes.data() + g_position, n);
  g_position += n;
  return n;
}

bool Close(FileHandle file) {
  if (file != kTheFile || !g_open) std::abort();
  g_open = false;
  return true;
}

[[noreturn]] void Unexpected() {
  std::abort();
}
PathState Inspect(const char*) {
  Unexpected();
}
bool Same(const char*, const char*) {
  Unexpected();
}
FileHandle CreateTemp(const char*, char*, std::size_t) {
  Unexpected();
}
bool WritePieces(FileHandle, std::span<const std::span<const std::uint8_t>>) {
  Unexpected();
}
bool Replace(const char*, const char*) {
  Unexpected();
}
void Remove(const char*) {
  Unexpected();
}

constexpr FileOps kMemoryOps{Open,       Size,        Read,  AllocateBytes, Inspect, Same,
                             CreateTemp, WritePieces, Close, Replace,       Remove};

}  // namespace

ServeFromMemory::ServeFromMemory(std::span<const std::uint8_t> bytes) : previous_(g_fileOps) {
  g_bytes = bytes;
  g_position = 0;
  g_open = false;
  g_fileOps = &kMemoryOps;
}

ServeFromMemory::~ServeFromMemory() {
  // A file left open would mean LoadModel lost its handle on some path.
  if (g_open) std::abort();
  g_fileOps = previous_;
}
