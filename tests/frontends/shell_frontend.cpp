// texmint-cli as a subprocess, for the sessions that run it.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <array>

#include "frontends/frontends.h"

int (*g_cliInProcess)(std::span<const char* const> args) = nullptr;

namespace {

const char* const kStreams[] = {"stdout", "stderr", "the exit status"};

std::string Quoted(std::string text) {
  for (auto at = text.find('\''); at != std::string::npos; at = text.find('\'', at + 4))
    text.replace(at, 1, "'\\''");
  return "'" + text + "'";
}

// Runs texmint-cli in the folder: its stdout, its stderr and its exit status, each a line.
std::array<std::string, 3> RunCli(const std::string& args, const Folder& folder) {
  if (g_cliInProcess) {
    const std::vector<std::string> words = Words(args);
    std::vector<const char*> argv;
    for (const std::string& word : words) argv.push_back(word.c_str());
    testing::internal::CaptureStdout(), testing::internal::CaptureStderr();
    const int status = g_cliInProcess(argv);
    return {testing::internal::GetCapturedStdout(), testing::internal::GetCapturedStderr(),
            std::to_string(status) + "\n"};
  }
  const fs::path out = folder.work.parent_path() / "stdout",
                 err = folder.work.parent_path() / "err";
  // Appended, not added: GCC 12 at -O3 takes "text" + a string for an overlapping copy.
  std::string line = "cd ";
  // The user's own folders are the session's, so that nothing outside it is read.
  line.append(Quoted(folder.work)).append(" && HOME=. XDG_CONFIG_HOME=xdg XDG_DATA_HOME= ");
  line.append(Quoted(TEXMINT_CLI));
  for (const std::string& arg : Words(args)) line.append(" ").append(Quoted(arg));
  line.append(" >").append(Quoted(out)).append(" 2>").append(Quoted(err));
  const int status = std::system(line.c_str());
  return {ReadFileBytes(out), ReadFileBytes(err),
          std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + "\n"};
}

// The stream holds these lines; a last line "..." leaves the rest unchecked.
void Expect(const std::string& command, const std::string& what, const std::string& seen,
            const std::string& expected) {
  const bool prefix = expected.ends_with("...\n");
  if (prefix ? seen.starts_with(expected.substr(0, expected.size() - 4)) : seen == expected) return;
  Fail(command + ": " + what + " was\n" + seen + "---- expected\n" + expected + "----");
}

}  // namespace

void RunShellSession(const Session& session, Folder& folder) {
  const std::vector<Step>& steps = session.steps;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const Step& step = steps[i];
    const bool mistake = step.verb == "mistake";
    if (step.verb == "have" || step.verb == "read-only" || step.verb == "mode") {
      MakeFiles(step, folder);
    } else if (step.verb == "run" || mistake) {
      const auto [args, told] = Cut(step.text, "=> ");
      std::string expected[3];  // stdout, stderr and the exit status
      if (mistake)
        expected[1] = Expand("texmint-cli: " + told + " (see texmint-cli --help)\\n", folder, true);
      for (; !mistake && i + 1 < steps.size() &&
             (steps[i + 1].verb.starts_with("std") || steps[i + 1].verb == "exit");
           ++i)
        expected[steps[i + 1].verb == "exit" ? 2 : steps[i + 1].verb == "stderr"] +=
            Expand(steps[i + 1].text, folder, true) + "\n";
      if (expected[2].empty()) expected[2] = mistake ? "2\n" : "0\n";
      const auto seen = RunCli(Expand(mistake ? args : args.substr(12), folder), folder);
      const std::string command = "line " + std::to_string(step.line) + ": " + step.text;
      for (const int s : {0, 1, 2}) Expect(command, kStreams[s], seen[s], expected[s]);
    } else if (step.verb != "expect" || !CheckFiles(step, folder)) {
      Fail("line " + std::to_string(step.line) + ": not a step of a texmint-cli session");
    }
  }
}
