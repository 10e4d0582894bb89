// Drives the real texmint.exe from outside, as a user would, through one named scenario.
//
//   texmint-driver.exe --program EXE --work DIR --fixtures DIR [--shots DIR] SCENARIO
//   texmint-driver.exe --list
//
// Paths may be given as Unix paths; they are reached through Wine's Z: drive.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "check.h"
#include "model_files.h"
#include "scenarios.h"

namespace {

std::string WindowsPath(std::string path) {
  if (!path.empty() && path.front() == '/') path = "Z:" + path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  char full[MAX_PATH * 2];
  const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  return length > 0 && length < sizeof full ? std::string(full, length) : path;
}

int Usage() {
  std::fprintf(stderr,
               "usage: texmint-driver --program EXE --work DIR --fixtures DIR [--shots DIR] "
               "SCENARIO\n       texmint-driver --list\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  ScenarioContext context;
  std::string name;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--list") {
      for (const Scenario& s : AllScenarios()) std::printf("%s\n", s.name);
      return 0;
    } else if (arg == "--program" && hasValue) {
      context.program = WindowsPath(argv[++i]);
    } else if (arg == "--work" && hasValue) {
      context.work = WindowsPath(argv[++i]);
    } else if (arg == "--fixtures" && hasValue) {
      context.fixtures = WindowsPath(argv[++i]);
    } else if (arg == "--shots" && hasValue) {
      context.shots = WindowsPath(argv[++i]);
    } else if (name.empty() && arg.rfind("--", 0) != 0) {
      name = arg;
    } else {
      return Usage();
    }
  }
  if (name.empty() || context.program.empty() || context.work.empty() || context.fixtures.empty()) {
    return Usage();
  }
  const Scenario* scenario = nullptr;
  for (const Scenario& s : AllScenarios()) {
    if (name == s.name) scenario = &s;
  }
  if (scenario == nullptr) {
    std::fprintf(stderr, "unknown scenario %s (see --list)\n", name.c_str());
    return 2;
  }

  std::printf("[ RUN      ] %s\n", scenario->name);
  std::fflush(stdout);
  const auto started = std::chrono::steady_clock::now();
  Texmint app;
  int result = 0;
  try {
    FreshFolder(context.work);
    if (!context.shots.empty()) CreateDirectoryA(context.shots.c_str(), nullptr);
    StartTexmint(app, context.program);
    scenario->run(context, app);
    if (app.process.hProcess != nullptr) CloseTexmint(app);
  } catch (const ScenarioFailure& failure) {
    std::printf("[  FAILED  ] %s: %s\n", scenario->name, failure.message.c_str());
    AbandonTexmint(app);
    result = 1;
  }
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - started);
  if (result == 0) {
    std::printf("[       OK ] %s (%.1f s)\n", scenario->name, elapsed.count() / 1000.0);
  }
  std::fflush(stdout);
  return result;
}
