// texmint-cli as a subprocess: sessions that run it, and dialog sessions said the way the
// command line says them, which must give the dialog's files, messages and exit status.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>

#include "frontends/frontends.h"

namespace {

struct Run {
  std::string command, out, err;
  int exit = -1;
};

Run RunCli(const std::vector<std::string>& args, const Folder& folder) {
  const fs::path out = folder.work.parent_path() / "stdout", err = folder.work.parent_path() / "stderr";
  std::vector<const char*> argv = {TEXMINT_CLI};
  Run run{"texmint-cli", {}, {}, -1};
  for (const std::string& arg : args) argv.push_back(arg.c_str()), run.command += " " + arg;
  argv.push_back(nullptr);
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
  run.out = ReadFileBytes(out), run.err = ReadFileBytes(err);
  return run;
}

// The stream holds these lines; a last line "..." leaves the rest unchecked.
void Expect(const Run& run, const std::string& what, const std::string& seen, std::vector<std::string> lines) {
  std::string expected;
  for (const auto& line : lines) expected += line + "\n";
  if (expected.ends_with("...\n") ? seen.starts_with(expected.substr(0, expected.size() - 4)) : seen == expected) return;
  Fail(run.command + ": " + what + " was\n" + seen + "---- expected\n" + expected + "----");
}

void ExpectExit(const Run& run, int exit) {
  if (run.exit != exit) Fail(run.command + ": exit status " + std::to_string(run.exit) + ", expected " + std::to_string(exit));
}

// A dialog session as one command line, with the output its messages make: make for a
// model, textures, a row and Create NIFs; list for a model alone.
struct Said {
  std::vector<std::string> args, out, err;
  std::string rows;  // the texture list the session expects, for list
  int exit = 0;
};

bool Say(const Session& session, const Folder& folder, Said& said) {
  std::vector<std::string> model, textures;
  std::string row, suffix;
  bool created = false;
  for (const Step& step : session.steps) {
    const auto [button, chosen] = std::pair(step.text.substr(0, step.text.find(',')), Words(step.text.substr(step.text.find(',') + 1)));
    const bool acted = !model.empty() || !textures.empty();
    if ((step.verb == "have" || step.verb == "read-only") && acted) return false;
    if (step.verb == "press" && button == "Select NIF" && !acted && chosen.size() == 2 && chosen[0] == "choose") {
      model = {Expand(chosen[1], folder)};
    } else if (step.verb == "press" && button == "Select Textures" && textures.empty() && !created && chosen[0] == "choose") {
      for (std::size_t i = 1; i < chosen.size(); ++i) textures.push_back(Expand(chosen[i], folder));
    } else if (step.verb == "select row" && row.empty() && !model.empty() && !created) {
      row = step.text;
    } else if (step.verb == "press" && step.text == "Create NIFs" && !row.empty() && !textures.empty() && !created) {
      created = true;
    } else if (step.verb == "message") {
      const std::string text = Expand(step.text.substr(step.text.find("\": ") + 3), folder, true);
      if (step.text.starts_with("error")) said.exit = 1;
      if (!step.text.starts_with("question")) (step.text.starts_with("error") ? said.err : said.out).push_back(text);
    } else if (step.verb == "answer") {
      suffix = step.text == "Yes" ? "--suffix" : "";
    } else if (step.verb == "expect" && step.text.starts_with("texture list:")) {
      said.rows = Expand(step.text.substr(13 + step.text.starts_with("texture list: ")), folder);
    } else if (step.verb == "press" || step.verb == "select row") {
      return false;
    }
  }
  if (created) {
    said.args = {"make", model[0], "--ref", row};
    if (!suffix.empty()) said.args.push_back(suffix);
    said.args.insert(said.args.end(), textures.begin(), textures.end());
  } else if (!model.empty() && textures.empty() && row.empty()) {
    // list keeps stdout for its table: every message goes to stderr.
    said.args = {"list", model[0]};
    said.err.insert(said.err.begin(), said.out.begin(), said.out.end());
  }
  return !said.args.empty();
}

}  // namespace

bool ShellCanRun(const Session& session) {
  Said said;
  return IsShellSession(session) || Say(session, Folder{}, said);
}

void RunShellSession(const Session& session, Folder& folder) {
  const auto& steps = session.steps;
  Said said;
  if (!IsShellSession(session) && Say(session, folder, said)) {
    for (const Step& step : steps) {
      if (step.verb == "have" || step.verb == "read-only") MakeFiles(step, folder);
    }
    const Run run = RunCli(said.args, folder);
    Expect(run, "stderr", run.err, said.err);
    if (said.args[0] == "make") Expect(run, "stdout", run.out, said.out);
    std::vector<std::string> names;  // the table's last column
    std::istringstream table(run.out);
    for (std::string line; std::getline(table, line);) names.push_back(line.substr(line.rfind('\t') + 1));
    if (said.args[0] == "list" && !said.rows.empty() && ListText(names, -1) != said.rows) Expect(run, "stdout", run.out, {said.rows});
    ExpectExit(run, said.exit);
    for (const Step& step : steps) CheckFiles(step, folder);
    return;
  }
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const Step& step = steps[i];
    if (step.verb == "have" || step.verb == "read-only") {
      MakeFiles(step, folder);
    } else if (step.verb == "expect" && CheckFiles(step, folder)) {
    } else if (step.verb == "run") {
      std::vector<std::string> args = Words(Expand(step.text, folder)), out, err;
      int exit = 0;
      for (; i + 1 < steps.size() && (steps[i + 1].verb == "stdout" || steps[i + 1].verb == "stderr" || steps[i + 1].verb == "exit"); ++i) {
        const Step& next = steps[i + 1];
        if (next.verb == "exit") exit = std::stoi(next.text);
        else (next.verb == "stdout" ? out : err).push_back(Expand(next.text, folder, true));
      }
      const Run run = RunCli({args.begin() + 1, args.end()}, folder);
      Expect(run, "stdout", run.out, out);
      Expect(run, "stderr", run.err, err);
      ExpectExit(run, exit);
    } else {
      Fail("line " + std::to_string(step.line) + ": not a step of a texmint-cli session");
    }
  }
}
