#include "cli_support.h"

#include <fcntl.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) ADD_FAILURE() << "cannot read " << path;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, std::string_view bytes) {
  if (path.has_parent_path()) fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) ADD_FAILURE() << "cannot write " << path;
}

Snapshot TakeSnapshot(const fs::path& folder) {
  Snapshot snapshot;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string relative = fs::relative(entry.path(), folder).string();
    if (entry.is_directory()) {
      snapshot[relative] = std::nullopt;
    } else {
      snapshot[relative] = ReadFile(entry.path());
    }
  }
  return snapshot;
}

Snapshot Changes(const Snapshot& before, const Snapshot& after) {
  Snapshot changes;
  for (const auto& [name, content] : after) {
    const auto old = before.find(name);
    if (old == before.end() || old->second != content) changes[name] = content;
  }
  return changes;
}

testing::AssertionResult SameBytes(std::string_view actual, std::string_view expected) {
  const auto [a, e] = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
  if (a == actual.end() && e == expected.end()) return testing::AssertionSuccess();
  const auto at = static_cast<std::size_t>(a - actual.begin());
  return testing::AssertionFailure() << actual.size() << " bytes where " << expected.size()
                                     << " were expected; the first difference is at offset " << at;
}

testing::AssertionResult SameSnapshot(const Snapshot& actual, const Snapshot& expected) {
  std::string differences;
  for (const auto& [name, content] : actual) {
    const auto other = expected.find(name);
    if (other == expected.end()) {
      differences += "\n  unexpected " + name;
    } else if (content.has_value() != other->second.has_value()) {
      differences += "\n  " + name + ": a file where a folder was expected, or the reverse";
    } else if (content && *content != *other->second) {
      differences += "\n  " + name + ": " + SameBytes(*content, *other->second).message();
    }
  }
  for (const auto& [name, content] : expected) {
    if (!actual.contains(name)) differences += "\n  missing " + name;
  }
  if (differences.empty()) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the folders differ:" << differences;
}

ModelBuilder ModelBytes() {
  return ModelBuilder::NetImmerse(", Version 4.0.0.2\n");
}

namespace {

// Reads everything from `fd` until its other end is closed everywhere.
std::string Drain(int fd) {
  std::string text;
  char chunk[4096];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // a pseudo-terminal reports EIO once the program has gone
    text.append(chunk, static_cast<std::size_t>(n));
  }
  return text;
}

}  // namespace

RunResult RunCli(const std::vector<std::string>& args, const fs::path& folder,
                 bool errorOnTerminal) {
  const fs::path outPath = folder.parent_path() / (folder.filename().string() + ".out");
  const fs::path errPath = folder.parent_path() / (folder.filename().string() + ".err");
  int terminal = -1;
  int terminalPeer = -1;
  if (errorOnTerminal) {
    termios raw{};
    cfmakeraw(&raw);
    if (openpty(&terminal, &terminalPeer, nullptr, &raw, nullptr) != 0) {
      ADD_FAILURE() << "cannot open a pseudo-terminal";
      return {};
    }
  }

  std::vector<char*> argv;
  std::string program = TEXMINT_CLI;
  argv.push_back(program.data());
  std::vector<std::string> copies(args);
  for (auto& arg : copies) argv.push_back(arg.data());
  argv.push_back(nullptr);

  const pid_t child = fork();
  if (child == 0) {
    const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = errorOnTerminal ? terminalPeer
                                    : ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int in = ::open("/dev/null", O_RDONLY);
    if (out < 0 || err < 0 || in < 0 || ::chdir(folder.c_str()) != 0) _exit(126);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    if (terminal >= 0) ::close(terminal);
    ::execv(argv[0], argv.data());
    _exit(127);
  }

  RunResult result;
  if (errorOnTerminal) {
    ::close(terminalPeer);
    result.err = Drain(terminal);
    ::close(terminal);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.out = ReadFile(outPath);
  if (!errorOnTerminal) result.err = ReadFile(errPath);
  fs::remove(outPath);
  fs::remove(errPath);
  return result;
}

std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const auto end = text.find('\n');
    lines.emplace_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}
