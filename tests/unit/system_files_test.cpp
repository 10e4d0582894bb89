// The POSIX file layer's own loops: reads and writes that the system cuts short or
// interrupts must still move every byte. The test program is linked with read and writev
// wrapped (see tests/CMakeLists.txt), so the system's answers can be made small.
#include <errno.h>
#include <gtest/gtest.h>
#include <sys/uio.h>

#include <algorithm>

#include "front/host_files.h"
#include "interpreter/scenario.h"

namespace {

std::size_t g_chunk = 0;  // at most this many bytes a call; 0: as the system does
int g_interruptions = 0;  // calls that fail with EINTR before any byte moves

bool Interrupted() {
  if (g_chunk == 0 || g_interruptions == 0) return false;
  --g_interruptions;
  errno = EINTR;
  return true;
}

}  // namespace

extern "C" ssize_t __real_read(int fd, void* into, std::size_t count);
extern "C" ssize_t __real_writev(int fd, const iovec* vec, int count);

extern "C" ssize_t __wrap_read(int fd, void* into, std::size_t count) {
  return Interrupted() ? -1 : __real_read(fd, into, g_chunk ? std::min(count, g_chunk) : count);
}

// Only the start of the first piece, as a full pipe or disk might take it.
extern "C" ssize_t __wrap_writev(int fd, const iovec* vec, int count) {
  if (Interrupted()) return -1;
  if (g_chunk == 0 || count == 0) return __real_writev(fd, vec, count);
  const iovec first{vec[0].iov_base, std::min(vec[0].iov_len, g_chunk)};
  return __real_writev(fd, &first, 1);
}

namespace {

TEST(SystemFiles, ShortAndInterruptedCallsStillMoveEveryByte) {
  const std::string pieces[] = {"head of the model ", "", "\x05\0\0\0", "tx.dds", " and its tail"};
  std::string whole;
  std::vector<std::span<const std::uint8_t>> spans;
  for (const std::string& p : pieces) {
    whole += p;
    spans.push_back({reinterpret_cast<const std::uint8_t*>(p.data()), p.size()});
  }
  const FileOps& ops = SystemFileOps();
  char temp[1024];
  for (const std::size_t chunk : {1u, 5u, 7u}) {
    g_chunk = chunk, g_interruptions = 2;
    const FileHandle out = ops.createTempBeside("/tmp/texmint-system-files.nif", temp, sizeof temp);
    EXPECT_TRUE(ops.writePieces(out, spans) && ops.closeFile(out)) << chunk;
    g_interruptions = 2;
    const FileHandle in = ops.openForReading(temp);
    std::string read(whole.size() + 8, '?');
    EXPECT_EQ(ops.readUpTo(in, reinterpret_cast<std::uint8_t*>(read.data()), read.size()),
              whole.size());
    ops.closeFile(in);
    g_chunk = 0;
    EXPECT_EQ(read.substr(0, whole.size()), whole) << chunk;
    EXPECT_EQ(ReadFileBytes(temp), whole) << chunk;
    ops.removeFile(temp);
  }
}

}  // namespace
