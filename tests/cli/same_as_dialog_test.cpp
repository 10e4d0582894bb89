// The command line must give what the dialog gives for the same choices: the same files,
// byte for byte, and the same messages. Each case runs through the dialog logic with the
// in-memory stand-in, then through texmint-cli in a subprocess, in the same folder.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "cli_support.h"
#include "common/app_state.h"
#include "front/main_dialog.h"
#include "front/ui_standin.h"

namespace {

struct DialogCase {
  std::string name;
  std::string modelFile;               // where the model is put in the folder
  std::function<std::string()> model;  // its bytes
  int ref;                             // the row chosen in the texture list
  std::vector<std::string> textures;   // paths relative to the folder, in choice order
  bool suffix;                         // Yes to the suffix question
  std::vector<std::string> blocked;    // folders standing where copies would go
  std::vector<std::string> expectedCopies;
};

std::string RockModel() {
  return ReadFile(FixturePath("morrowind_mossyrock.nif"));
}

std::string ThreeReferences() {
  ModelBuilder m = ModelBytes();
  m.TextureRecord("textures\\old_a.dds");
  m.Raw("between");
  m.TextureRecord("textures\\old_a.dds");
  m.TextureRecord("b.dds");
  m.Raw("tail bytes");
  return ToString(m.bytes);
}

std::string HundredAndOneReferences() {
  ModelBuilder m = ModelBytes();
  for (int i = 0; i < 101; ++i) m.TextureRecord("t" + std::to_string(i) + ".dds");
  return ToString(m.bytes);
}

std::vector<DialogCase> Cases() {
  const std::string longName = std::string(96, 'n') + ".dds";  // 100 characters
  return {
      {"names_differ_first_so_numbered",
       "rock.nif",
       RockModel,
       0,
       {"tex/b_moss.dds", "tex/A_moss.dds", "tex/c_moss.dds"},
       true,
       {},
       {"rock_01.nif", "rock_02.nif", "rock_03.nif"}},
      {"suffix_accepted",
       "rock.nif",
       RockModel,
       1,
       {"tex/rock10.dds", "tex/rock01.dds", "tex/rock02.dds"},
       true,
       {},
       {"rock_01.nif", "rock_02.nif", "rock_10.nif"}},
      {"suffix_declined",
       "rock.nif",
       RockModel,
       1,
       {"tex/rock10.dds", "tex/rock01.dds", "tex/rock02.dds"},
       false,
       {},
       {"rock_01.nif", "rock_02.nif", "rock_03.nif"}},
      {"textures_from_two_folders",
       "rock.nif",
       RockModel,
       0,
       {"a/wall_b.dds", "b/Wall_A.dds"},
       true,
       {},
       {"rock_A.nif", "rock_b.nif"}},
      {"single_texture_longer_than_the_old_path",
       "three.nif",
       ThreeReferences,
       1,
       {"tex/a_much_longer_replacement_name.dds"},
       true,
       {},
       {"three_01.nif"}},
      {"same_texture_twice_only_the_chosen_one_changes",
       "three.nif",
       ThreeReferences,
       0,
       {"x.dds", "y.dds"},
       false,
       {},
       {"three_01.nif", "three_02.nif"}},
      {"long_model_name_is_cut",
       "abcdefghijklmnopqrstuvwxyzabcd.nif",
       RockModel,
       0,
       {"moss.dds"},
       false,
       {},
       {"abcdefghijklmnopqrstuvwx_01.nif"}},
      {"blocked_copy_is_reported_and_skipped",
       "rock.nif",
       RockModel,
       0,
       {"t/a.dds", "t/b.dds", "t/c.dds"},
       false,
       {"rock_02.nif"},
       {"rock_01.nif", "rock_03.nif"}},
      {"copy_that_would_overwrite_the_model",
       "abcdefghijklmnopqrstuvwx_01.nif",
       RockModel,
       1,
       {"p.dds", "q.dds"},
       false,
       {},
       {"abcdefghijklmnopqrstuvwx_02.nif"}},
      {"texture_name_too_long_for_the_list",
       "rock.nif",
       RockModel,
       0,
       {"tex/ok.dds", "tex/" + longName},
       false,
       {},
       {}},
      {"hundred_and_one_references",
       "many.nif",
       HundredAndOneReferences,
       99,
       {"z.dds"},
       false,
       {},
       {"many_01.nif"}},
  };
}

struct Outcome {
  Snapshot copies;
  std::string out;
  std::string err;
  int exitCode = 0;
};

// What the dialog does when the user makes these choices and presses Create NIFs.
Outcome ThroughTheDialog(const DialogCase& c, const Scratch& folder) {
  const auto press = [](int button) {
    MainDialogProc(g_app.hwndMain, kMsgCommand, static_cast<std::uintptr_t>(button), 0);
  };
  const Snapshot before = TakeSnapshot(folder.path());
  ResetAppState();
  StandinOpenDialog();
  Standin& s = TheStandin();

  s.fileDialogAnswers.push_back(ChooseOneFile(folder / c.modelFile));
  press(kSelectNifButton);
  if (c.textures.size() == 1) {
    s.fileDialogAnswers.push_back(ChooseOneFile(folder / c.textures[0]));
  } else {
    std::vector<std::string> names;
    for (const auto& t : c.textures) names.push_back(fs::path(t).filename().string());
    s.fileDialogAnswers.push_back(
        ChooseSeveralFiles((folder.path() / c.textures[0]).parent_path().string(), names));
  }
  press(kSelectTexturesButton);
  StandinSelectRow(kTextureList, c.ref);
  s.messageBoxAnswers.push_back(c.suffix ? kAnswerYes : 7 /* IDNO */);
  if (s.createNifsEnabled) press(kCreateNifsButton);

  Outcome outcome;
  for (const StandinMessageBox& box : s.messageBoxes) {
    if (box.kind == MessageKind::kError) {
      outcome.err += box.text + "\n";
      outcome.exitCode = 1;
    } else if (box.kind == MessageKind::kInformation) {
      outcome.out += box.text + "\n";
    }
  }
  outcome.copies = Changes(before, TakeSnapshot(folder.path()));
  return outcome;
}

Outcome ThroughTheCli(const DialogCase& c, const Scratch& folder) {
  const Snapshot before = TakeSnapshot(folder.path());
  std::vector<std::string> args = {"make", c.modelFile, "--ref", std::to_string(c.ref)};
  if (c.suffix) args.push_back("--suffix");
  args.insert(args.end(), c.textures.begin(), c.textures.end());
  const RunResult run = RunCli(args, folder.path());
  return {Changes(before, TakeSnapshot(folder.path())), run.out, run.err, run.exitCode};
}

TEST(SameAsDialog, CliWritesWhatTheDialogWrites) {
  for (const DialogCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    Scratch folder;
    WriteFile(folder / c.modelFile, c.model());
    for (const auto& t : c.textures) WriteFile(folder / t, "texture " + t);
    for (const auto& b : c.blocked) fs::create_directories(folder / b);

    const Outcome dialog = ThroughTheDialog(c, folder);
    std::vector<std::string> copyNames;
    for (const auto& [name, content] : dialog.copies) {
      copyNames.push_back(name);
      fs::remove(folder / name);
    }
    EXPECT_EQ(copyNames, c.expectedCopies);

    const Outcome cli = ThroughTheCli(c, folder);
    EXPECT_TRUE(SameSnapshot(cli.copies, dialog.copies));
    EXPECT_EQ(cli.out, dialog.out);
    EXPECT_EQ(cli.err, dialog.err);
    EXPECT_EQ(cli.exitCode, dialog.exitCode);
  }
}

}  // namespace
