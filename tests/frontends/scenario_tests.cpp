// Registers every scenario file as a test of each native front end that can run it:
// `standin.NAME` for the dialog sessions, `cli.NAME` for those texmint-cli can express.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>

#include "frontends/frontends.h"

namespace {

void MakeUnreadable(const fs::path& path) {
  // Opening it fails: the link leads only to itself.
  fs::create_symlink(path.filename(), path);
}

template <typename Run>
void RunSessions(const fs::path& file, bool (*wanted)(const Session&), Run run) {
  for (const Session& session : ReadScenario(file)) {
    if (!wanted(session)) continue;
    std::string scratch = (fs::temp_directory_path() / "texmint-scenario-XXXXXX").string();
    if (mkdtemp(scratch.data()) == nullptr) FAIL() << "cannot make a scratch folder";
    Folder folder{fs::path(scratch) / "work", TEXMINT_MODELS_DIR, {}, MakeUnreadable};
    fs::create_directory(folder.work);
    try {
      run(session, folder);
    } catch (const Failure& failure) {
      ADD_FAILURE() << file.filename().string() << ", session \"" << session.title << "\":\n"
                    << failure.what();
    }
    fs::remove_all(scratch);
  }
}

bool IsDialogSession(const Session& session) {
  return !IsShellSession(session);
}

class ScenarioTest : public testing::Test {
 public:
  ScenarioTest(fs::path file, bool shell) : file_(std::move(file)), shell_(shell) {}
  void TestBody() override {
    if (shell_) {
      RunSessions(file_, ShellCanRun, RunShellSession);
    } else {
      RunSessions(file_, IsDialogSession, [](const Session& session, Folder& folder) {
        RunDialogSession(session, kStandinFrontend, folder);
      });
    }
  }

 private:
  fs::path file_;
  bool shell_;
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(TEXMINT_SCENARIOS_DIR)) {
    if (entry.path().extension() == ".scenario") files.push_back(entry.path());
  }
  std::ranges::sort(files);
  for (const fs::path& file : files) {
    std::vector<Session> sessions;
    try {
      sessions = ReadScenario(file);
    } catch (const Failure& failure) {
      std::fprintf(stderr, "%s\n", failure.what());
      return 1;
    }
    for (const bool shell : {false, true}) {
      if (!std::ranges::any_of(sessions, shell ? ShellCanRun : IsDialogSession)) continue;
      testing::RegisterTest(shell ? "cli" : "standin", file.stem().string().c_str(), nullptr,
                            nullptr, __FILE__, __LINE__,
                            [=]() -> testing::Test* { return new ScenarioTest(file, shell); });
    }
  }
  return RUN_ALL_TESTS();
}
