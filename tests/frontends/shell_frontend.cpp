// texmint-cli as a subprocess: sessions that run it, and dialog sessions said the way the
// command line says them, which must give the dialog's files, messages and exit status.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "frontends/frontends.h"

namespace {

struct Run {
  std::string out, err;
  int exit = -1;
};

Run RunCli(const std::vector<std::string>& args, const Folder& folder) {
  const fs::path out = folder.work.parent_path() / "stdout",
                 err = folder.work.parent_path() / "stderr";
  std::vector<const char*> argv = {TEXMINT_CLI};
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  argv.push_back(nullptr);
  Run run;
  if (const pid_t child = fork(); child == 0) {
    const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (chdir(folder.work.c_str()) == 0 && dup2(o, 1) == 1 && dup2(e, 2) == 2) {
      execv(argv[0], const_cast<char* const*>(argv.data()));
    }
    _exit(127);
  } else if (int status = 0; waitpid(child, &status, 0) == child) {
    run.exit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  return {ReadFileBytes(out), ReadFileBytes(err), run.exit};
}

// Said as one command line, with the output its messages make: make for a model, textures,
// a row and Create NIFs; list for a model alone. No steps when the command line can't.
Session Translate(const Session& dialog) {
  Session shell{dialog.title, {}};
  std::string model, textures, row, suffix;
  std::vector<Step> output, checks;
  bool created = false;
  for (const Step& step : dialog.steps) {
    const auto [button, choice] = Cut(step.text, ", choose ");
    if (step.verb == "have" || step.verb == "read-only") {
      if (!model.empty() || !textures.empty()) return {};
      shell.steps.push_back(step);
    } else if (button == "Select NIF" && model.empty() && textures.empty() &&
               Words(choice).size() == 1) {
      model = choice;
    } else if (button == "Select Textures" && textures.empty() && !choice.empty() && !created) {
      textures = choice;
    } else if (step.verb == "select row" && row.empty() && !model.empty() && !created) {
      row = step.text;
    } else if (step.text == "Create NIFs" && !row.empty() && !textures.empty() && !created) {
      created = true;
    } else if (step.verb == "message" && !step.text.starts_with("question")) {
      // Errors go to stderr; everything else to stdout, but list keeps stdout for its table.
      const bool error = step.text.starts_with("error");
      output.push_back({step.line, error ? "stderr" : "stdout", Cut(step.text, "\": ").second});
      if (error) checks.insert(checks.begin(), {step.line, "exit", "1"});
    } else if (step.verb == "answer") {
      suffix = step.text == "Yes" ? " --suffix" : "";
    } else if (step.verb == "expect") {
      // What the files hold; the command line has no controls to look at.
      const bool files =
          step.text.starts_with("files") || step.text.find(" = ") != std::string::npos;
      if (files || step.text.ends_with(" unchanged")) checks.push_back(step);
    } else if (step.verb != "message" && step.verb != "close" && step.verb != "screenshot") {
      return {};
    }
  }
  const bool list = !model.empty() && textures.empty() && row.empty();
  if (!created && !list) return {};
  shell.steps.push_back(
      {0, "run",
       list ? "texmint-cli list " + model
            : "texmint-cli make " + model + " --ref " + row + suffix + " " + textures});
  for (Step& line : output) {
    if (list) line.verb = "stderr";
    shell.steps.push_back(line);
  }
  if (list) shell.steps.push_back({0, "stdout", "..."});
  shell.steps.insert(shell.steps.end(), checks.begin(), checks.end());
  return shell;
}

// The stream holds these lines; a last line "..." leaves the rest unchecked.
void Expect(const std::string& command, const std::string& what, const std::string& seen,
            const std::string& expected) {
  const bool prefix = expected.ends_with("...\n");
  if (prefix ? seen.starts_with(expected.substr(0, expected.size() - 4)) : seen == expected) return;
  Fail(command + ": " + what + " was\n" + seen + "---- expected\n" + expected + "----");
}

}  // namespace

bool ShellCanRun(const Session& session) {
  return IsShellSession(session) || !Translate(session).steps.empty();
}

void RunShellSession(const Session& dialog, Folder& folder) {
  const Session session = IsShellSession(dialog) ? dialog : Translate(dialog);
  const auto& steps = session.steps;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const Step& step = steps[i];
    if (step.verb == "have" || step.verb == "read-only") {
      MakeFiles(step, folder);
    } else if (step.verb == "run") {
      const std::string command = "line " + std::to_string(step.line) + ": " + step.text;
      std::string out, err, exit = "0";
      const auto output = [&](std::size_t at) {
        return at < steps.size() && (steps[at].verb.starts_with("std") || steps[at].verb == "exit");
      };
      for (; output(i + 1); ++i) {
        const Step& next = steps[i + 1];
        if (next.verb == "exit")
          exit = next.text;
        else
          (next.verb == "stdout" ? out : err) += Expand(next.text, folder, true) + "\n";
      }
      const std::vector<std::string> args = Words(Expand(step.text, folder));
      const Run run = RunCli({args.begin() + 1, args.end()}, folder);
      Expect(command, "stdout", run.out, out);
      Expect(command, "stderr", run.err, err);
      if (run.exit != std::stoi(exit))
        Fail(command + ": exit status " + std::to_string(run.exit) + ", expected " + exit);
    } else if (step.verb != "expect" || !CheckFiles(step, folder)) {
      Fail("line " + std::to_string(step.line) + ": not a step of a texmint-cli session");
    }
  }
}
