// texmint-cli as a subprocess, for the sessions that run it.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include "frontends/frontends.h"

int (*g_cliInProcess)(std::span<const char* const> args) = nullptr;

namespace {

std::string Quoted(std::string text) {
  for (auto at = text.find('\''); at != std::string::npos; at = text.find('\'', at + 4))
    text.replace(at, 1, "'\\''");
  return "'" + text + "'";
}

// Runs texmint-cli in the folder: its stdout, its stderr and its exit status.
std::tuple<std::string, std::string, int> RunCli(const std::string& args, const Folder& folder) {
  if (g_cliInProcess) {
    const std::vector<std::string> words = Words(args);
    std::vector<const char*> argv;
    for (const std::string& word : words) argv.push_back(word.c_str());
    testing::internal::CaptureStdout(), testing::internal::CaptureStderr();
    const int status = g_cliInProcess(argv);
    return {testing::internal::GetCapturedStdout(), testing::internal::GetCapturedStderr(), status};
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
  return {ReadFileBytes(out), ReadFileBytes(err), WIFEXITED(status) ? WEXITSTATUS(status) : -1};
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
      std::string expected[2], exit = mistake ? "2" : "0";  // stdout and stderr
      if (mistake)
        expected[1] = Expand("texmint-cli: " + told + " (see texmint-cli --help)\\n", folder, true);
      for (; !mistake && i + 1 < steps.size() &&
             (steps[i + 1].verb.starts_with("std") || steps[i + 1].verb == "exit");
           ++i) {
        const Step& next = steps[i + 1];
        if (next.verb == "exit")
          exit = next.text;
        else
          expected[next.verb == "stderr"] += Expand(next.text, folder, true) + "\n";
      }
      const auto [out, err, status] =
          RunCli(Expand(mistake ? args : args.substr(12), folder), folder);
      const std::string command = "line " + std::to_string(step.line) + ": " + step.text;
      Expect(command, "stdout", out, expected[0]);
      Expect(command, "stderr", err, expected[1]);
      Expect(command, "the exit status", std::to_string(status) + "\n", exit + "\n");
    } else if (step.verb != "expect" || !CheckFiles(step, folder)) {
      Fail("line " + std::to_string(step.line) + ": not a step of a texmint-cli session");
    }
  }
}
