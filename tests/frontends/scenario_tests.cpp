// Every scenario file is a test of each native front end that can run it: `standin.NAME`
// for its dialog sessions, on the dialog logic over the in-memory stand-in, and `cli.NAME`
// for those that run texmint-cli.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

#include "common/app_state.h"
#include "front/main_dialog.h"
#include "frontends/frontends.h"
#include "standin/ui_standin.h"

namespace {

// By the platform's type values, which the real boxes are shown with.
std::string KindName(MessageKind kind) {
  using enum MessageKind;
  return kind == kError         ? "error"
         : kind == kQuestion    ? "question"
         : kind == kInformation ? "information"
                                : "type " + std::to_string(unsigned(kind));
}

std::vector<std::string> Act(const Action& action) {
  Standin& s = TheStandin();
  if (s.dialogEnded) Fail("the dialog has already ended");
  s.messageBoxes.clear(), s.fileDialogsOpened = 0;
  s.fileDialog = action.dialog, s.files = action.files;
  s.answers.assign(action.answers.begin(), action.answers.end());
  const int id = action.button == "Esc" ? kIdCancel : IdOfControl(action.button);
  if (action.what == "select") {
    if (action.row >= int(s.lists[kTextureList].rows.size()))
      Fail("the texture list has no such row");
    s.lists[kTextureList].selection = action.row;  // the platform sends no command for it
  } else if (action.what == "close") {
    MainDialogProc(g_app.hwndMain, kWmClose, 0, 0);
    if (!s.dialogEnded) Fail("closing did not end the dialog");
  } else if (id == 0 || (id == kCreateNifsButton && !s.createNifsEnabled)) {
    Fail("cannot press " + action.button);
  } else {
    MainDialogProc(g_app.hwndMain, kWmCommand, std::uintptr_t(id), 0);
  }
  if (s.fileDialogsOpened != (action.dialog.empty() ? 0 : 1)) Fail("a file dialog opened, or none");
  std::vector<std::string> seen;
  for (const auto& box : s.messageBoxes)
    seen.push_back(BoxText(KindName(box.kind), box.caption, box.text));
  return seen;
}

View Look() {
  Standin& s = TheStandin();
  const auto list = [&](int id) { return ListText(s.lists[id].rows, s.lists[id].selection); };
  return {{"path box", s.boxes[kPathBox]},
          {"folder box", s.boxes[kFolderBox]},
          {"texture list", list(kTextureList)},
          {"replacement list", list(kReplacementList)},
          {"Create NIFs", s.createNifsEnabled ? "enabled" : "disabled"},
          {"focus", NameOfControl(s.focus)}};
}

void MakeUnreadable(const fs::path& path) {
  fs::create_symlink(path.filename(), path);  // a link that leads only to itself
}

struct BodyTest : testing::Test {
  explicit BodyTest(std::function<void()> body) : body(std::move(body)) {}
  void TestBody() override { body(); }
  std::function<void()> body;
};

void RunStandinSession(const Session& session, Folder& folder) {
  const auto start = [] { ResetAppState(), StandinOpenDialog(); };
  RunDialogSession(session, {start, Act, Look, [](const std::string&) {}, [](bool) {}}, folder);
}

}  // namespace

int RunNativeSessions(const std::vector<Session>& sessions, bool shell, const std::string& name) {
  // The 32-bit lane runs the same tests at the same time.
  const std::string lane = std::to_string(sizeof(void*) * 8) + "bit-";
  const fs::path work = fs::path(testing::TempDir()) / ("texmint-" + lane + name) / "work";
  return RunSessions(sessions, shell, {work, TEXMINT_MODELS_DIR, {}, MakeUnreadable},
                     shell ? RunShellSession : RunStandinSession);
}

int main(int argc, char** argv) try {
  testing::InitGoogleTest(&argc, argv);
  std::set<fs::path> files;  // the same order on every machine
  for (const auto& entry : fs::directory_iterator(TEXMINT_SCENARIOS_DIR))
    if (entry.path().extension() == ".scenario") files.insert(entry.path());
  for (const fs::path& file : files) {
    const std::string stem = file.stem().string();
    const std::vector<Session> sessions = ReadScenario(ReadFileBytes(file), stem);
    for (const bool shell : {false, true}) {
      const std::string suite = shell ? "cli" : "standin";
      if (std::ranges::none_of(sessions, [&](auto& s) { return IsShellSession(s) == shell; }))
        continue;
      testing::RegisterTest(
          suite.c_str(), stem.c_str(), nullptr, nullptr, __FILE__, __LINE__,
          [=]() -> testing::Test* {
            return new BodyTest(
                [=] { EXPECT_EQ(RunNativeSessions(sessions, shell, suite + "-" + stem), 0); });
          });
    }
  }
  return RUN_ALL_TESTS();
} catch (const Failure& failure) {
  std::fprintf(stderr, "%s\n", failure.what());
  return 1;
}
