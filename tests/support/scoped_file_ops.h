// Swaps the file-operations table for the life of the object.
#pragma once

#include "front/host_files.h"

class ScopedFileOps {
 public:
  explicit ScopedFileOps(const FileOps& ops) : saved_(g_fileOps) { g_fileOps = &ops; }
  ~ScopedFileOps() { g_fileOps = saved_; }
  ScopedFileOps(const ScopedFileOps&) = delete;
  ScopedFileOps& operator=(const ScopedFileOps&) = delete;

 private:
  const FileOps* saved_;
};
