// texmint-cli as a subprocess: sessions that run it, and dialog sessions said the way the
// command line says them, which must give the dialog's files, messages and exit status.
#include <sys/wait.h>

#include "frontends/frontends.h"

namespace {

std::string Quoted(std::string text) {
  for (auto at = text.find('\''); at != std::string::npos; at = text.find('\'', at + 4))
    text.replace(at, 1, "'\\''");
  return "'" + text + "'";
}

// Runs texmint-cli in the folder: its stdout, its stderr and its exit status.
std::tuple<std::string, std::string, int> RunCli(const std::string& args, const Folder& folder) {
  const fs::path out = folder.work.parent_path() / "stdout",
                 err = folder.work.parent_path() / "err";
  std::string line = "cd " + Quoted(folder.work) + " && " + Quoted(TEXMINT_CLI);
  for (const std::string& arg : Words(args)) line += " " + Quoted(arg);
  const int status = std::system((line + " >" + Quoted(out) + " 2>" + Quoted(err)).c_str());
  return {ReadFileBytes(out), ReadFileBytes(err), WIFEXITED(status) ? WEXITSTATUS(status) : -1};
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
  for (Step& line : output)
    shell.steps.push_back({line.line, list ? "stderr" : line.verb, line.text});
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
  std::vector<Step> steps;
  for (const Step& step : IsShellSession(dialog) ? dialog.steps : Translate(dialog).steps) {
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
    if (step.verb == "have" || step.verb == "read-only") {
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
