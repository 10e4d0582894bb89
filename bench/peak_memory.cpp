#include "peak_memory.h"

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>

namespace {

// A field of /proc/self/status in bytes, or 0 if it is missing.
std::uint64_t StatusBytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field + ":", 0) == 0) return std::stoull(line.substr(field.size() + 1)) * 1024;
  }
  return 0;
}

// Lowers the recorded peak to the present resident size.
bool ResetPeak() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return static_cast<bool>(clear);
}

}  // namespace

std::optional<std::uint64_t> PeakGrowthInChild(const std::function<void()>& work) {
  int fds[2];
  if (::pipe(fds) != 0) return std::nullopt;
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    return std::nullopt;
  }
  if (child == 0) {
    ::close(fds[0]);
    std::uint64_t growth = 0;
    if (ResetPeak()) {
      const std::uint64_t before = StatusBytes("VmHWM");
      work();
      const std::uint64_t peak = StatusBytes("VmHWM");
      growth = before > 0 && peak >= before ? peak - before : 0;
    }
    const bool ok = growth > 0 && ::write(fds[1], &growth, sizeof growth) == sizeof growth;
    ::_exit(ok ? 0 : 1);
  }
  ::close(fds[1]);
  std::uint64_t growth = 0;
  const bool got = ::read(fds[0], &growth, sizeof growth) == sizeof growth;
  ::close(fds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!got || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return growth;
}
