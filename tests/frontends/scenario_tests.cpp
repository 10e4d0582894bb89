// Every scenario file is a test of each native front end that can run it: `standin.NAME`
// for its dialog sessions, `cli.NAME` for those that run texmint-cli.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>

#include "frontends/frontends.h"

namespace {

bool IsDialogSession(const Session& session) {
  return !IsShellSession(session);
}

void MakeUnreadable(const fs::path& path) {
  fs::create_symlink(path.filename(), path);  // a link that leads only to itself
}

struct ScenarioTest : testing::Test {
  ScenarioTest(fs::path file, bool shell) : file(std::move(file)), shell(shell) {}
  void TestBody() override { RunScenarioFile(file, shell); }
  fs::path file;
  bool shell;
};

}  // namespace

void RunScenarioFile(const fs::path& file, bool shell) {
  for (const Session& session : ReadScenario(file)) {
    if (!(shell ? IsShellSession : IsDialogSession)(session)) continue;
    std::string scratch = (fs::temp_directory_path() / "texmint-scenario-XXXXXX").string();
    ASSERT_NE(mkdtemp(scratch.data()), nullptr);
    Folder folder{fs::path(scratch) / "work", TEXMINT_MODELS_DIR, {}, MakeUnreadable};
    fs::create_directory(folder.work);
    try {
      if (shell)
        RunShellSession(session, folder);
      else
        RunDialogSession(session, kStandinFrontend, folder);
    } catch (const Failure& failure) {
      ADD_FAILURE() << file.filename().string() << ", session \"" << session.title << "\":\n"
                    << failure.what();
    }
    fs::remove_all(scratch);
  }
}

int main(int argc, char** argv) try {
  testing::InitGoogleTest(&argc, argv);
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(TEXMINT_SCENARIOS_DIR)) {
    if (entry.path().extension() == ".scenario") files.push_back(entry.path());
  }
  std::ranges::sort(files);
  for (const fs::path& file : files) {
    const std::vector<Session> sessions = ReadScenario(file);
    for (const bool shell : {false, true}) {
      if (!std::ranges::any_of(sessions, shell ? IsShellSession : IsDialogSession)) continue;
      testing::RegisterTest(shell ? "cli" : "standin", file.stem().string().c_str(), nullptr,
                            nullptr, __FILE__, __LINE__,
                            [=]() -> testing::Test* { return new ScenarioTest(file, shell); });
    }
  }
  return RUN_ALL_TESTS();
} catch (const Failure& failure) {
  std::fprintf(stderr, "%s\n", failure.what());
  return 1;
}
