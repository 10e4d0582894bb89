// A file table that serves one in-memory file, so that LoadModel can read fuzz input
// without touching the disk. Every other operation is unused by loading and aborts.
#pragma once

#include <cstdint>
#include <span>

#include "front/host_files.h"

inline constexpr const char* kMemoryFilePath = "fuzz-input.nif";

// Points g_fileOps at the in-memory table serving `bytes` for the life of the object.
class ServeFromMemory {
 public:
  explicit ServeFromMemory(std::span<const std::uint8_t> bytes);
  ~ServeFromMemory();
  ServeFromMemory(const ServeFromMemory&) = delete;
  ServeFromMemory& operator=(const ServeFromMemory&) = delete;

 private:
  const FileOps* previous_;
};
