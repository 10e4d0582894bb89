// texmint-cli as a subprocess, for the sessions that run it.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "frontends/frontends.h"

int (*g_cliInProcess)(std::span<const char* const> args) = nullptr;

namespace {

std::string Quoted(std::string text) {
  for (auto at = text.find('\''); at != std::string::npos; at = text.find('\'', at + 4))
    text.replace(at, 1, "'\\''");
  return "'" + text + "'";
}

// Runs g_cliInProcess in the folder, its stdout and stderr sent to `out` and `err`.
std::tuple<std::string, std::string, int> RunInProcess(const std::string& args,
                                                       const Folder& folder, const fs::path& out,
                                                       const fs::path& err) {
  std::vector<std::string> words = Words(args);
  std::vector<const char*> argv;
  for (const std::string& word : words) argv.push_back(word.c_str());
  std::fflush(nullptr);
  const int saved[] = {::dup(STDOUT_FILENO), ::dup(STDERR_FILENO)};
  ::close(STDOUT_FILENO), ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ::close(STDERR_FILENO), ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const fs::path was = fs::current_path();
  fs::current_path(folder.work);
  const int status = g_cliInProcess(argv);
  fs::current_path(was);
  std::fflush(nullptr);
  ::dup2(saved[0], STDOUT_FILENO), ::dup2(saved[1], STDERR_FILENO);
  ::close(saved[0]), ::close(saved[1]);
  return {ReadFileBytes(out), ReadFileBytes(err), status};
}

// Runs texmint-cli in the folder: its stdout, its stderr and its exit status.
std::tuple<std::string, std::string, int> RunCli(const std::string& args, const Folder& folder) {
  const fs::path out = folder.work.parent_path() / "stdout",
                 err = folder.work.parent_path() / "err";
  if (g_cliInProcess) return RunInProcess(args, folder, out, err);
  // Appended, not added: GCC 12 at -O3 takes "text" + a string for an overlapping copy.
  std::string line = "cd ";
  // The user's own folders are the session's, so that nothing outside it is read.
  line.append(Quoted(folder.work)).append(" && HOME=.").append(" XDG_CONFIG_HOME=xdg");
  line.append(" XDG_DATA_HOME= ").append(Quoted(TEXMINT_CLI));
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
  std::vector<Step> steps;
  for (const Step& step : session.steps) {
    const auto [args, told] = Cut(step.text, "=> ");
    if (step.verb != "mistake") {
      steps.push_back(step);
    } else {
      steps.insert(steps.end(),
                   {{step.line, "run", "texmint-cli " + args},
                    {step.line, "stderr", "texmint-cli: " + told + " (see texmint-cli --help)"},
                    {step.line, "exit", "2"}});
    }
  }
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const Step& step = steps[i];
    if (step.verb == "have" || step.verb == "read-only" || step.verb == "mode") {
      MakeFiles(step, folder);
    } else if (step.verb == "run") {
      std::string expected[2], exit = "0";  // stdout and stderr
      for (; i + 1 < steps.size() &&
             (steps[i + 1].verb.starts_with("std") || steps[i + 1].verb == "exit");
           ++i) {
        const Step& next = steps[i + 1];
        if (next.verb == "exit")
          exit = next.text;
        else
          expected[next.verb == "stderr"] += Expand(next.text, folder, true) + "\n";
      }
      const auto [out, err, status] = RunCli(Expand(step.text, folder).substr(12), folder);
      const std::string command = "line " + std::to_string(step.line) + ": " + step.text;
      Expect(command, "stdout", out, expected[0]);
      Expect(command, "stderr", err, expected[1]);
      if (status != std::stoi(exit))
        Fail(command + ": exit status " + std::to_string(status) + ", expected " + exit);
    } else if (step.verb != "expect" || !CheckFiles(step, folder)) {
      Fail("line " + std::to_string(step.line) + ": not a step of a texmint-cli session");
    }
  }
}
