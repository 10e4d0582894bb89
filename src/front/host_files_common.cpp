#include <new>

#include "front/host_files.h"

const FileOps* g_fileOps = &SystemFileOps();

std::uint8_t* AllocateBytes(std::size_t bytes) {
  return new (std::nothrow) std::uint8_t[bytes];
}
