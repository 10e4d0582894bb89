// texmint-cli run as a user runs it: output streams, exit codes and files written.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_support.h"

namespace {

constexpr char kRock[] = "morrowind_mossyrock.nif";
constexpr char kStone[] = "tx_merp_mirkwood_stone01.dds";

// The real model, copied where the program may write beside it.
std::string CopyRock(const Scratch& scratch) {
  const std::string model = scratch / kRock;
  WriteFile(model, ReadFile(FixturePath(kRock)));
  return model;
}

TEST(CliList, RealModelPrintsBothReferencesInTableOrder) {
  Scratch scratch;
  CopyRock(scratch);
  const RunResult run = RunCli({"list", kRock}, scratch.path());
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, std::string("0\t431\t463\t") + kStone + "\n1\t45211\t45243\t" + kStone + "\n");
  EXPECT_EQ(run.err, "");
}

TEST(CliList, BuiltModelListsExternalReferencesOnly) {
  Scratch scratch;
  ModelBuilder model = ModelBytes();
  const std::uint32_t first = model.TextureRecord("tx_a.dds");
  model.TextureRecord("inside.dds", 0);
  const std::uint32_t second = model.TextureRecord("textures\\b\\tx_b.dds");
  const std::uint32_t empty = model.TextureRecord("");
  const std::uint32_t slashes = model.TextureRecord("textures/c.dds");
  model.Raw(std::string(40, 'x'));
  WriteFile(scratch / "built.nif", ToString(model.bytes));

  const RunResult run = RunCli({"list", scratch / "built.nif"}, scratch.path());
  EXPECT_EQ(run.exitCode, 0);
  const auto row = [](int index, std::uint32_t lengthOffset, std::size_t pathLength,
                      const std::string& name) {
    return std::to_string(index) + "\t" + std::to_string(lengthOffset) + "\t" +
           std::to_string(lengthOffset + 4 + pathLength) + "\t" + name;
  };
  EXPECT_EQ(Lines(run.out), (std::vector<std::string>{
                                row(0, first, 8, "tx_a.dds"),
                                row(1, second, 19, "tx_b.dds"),
                                row(2, empty, 0, ""),
                                row(3, slashes, 14, "textures/c.dds"),
                            }));
  EXPECT_EQ(run.err, "");
}

TEST(CliList, MoreThanAHundredReferencesKeepsTheNoteOffTheTable) {
  Scratch scratch;
  ModelBuilder model = ModelBytes();
  for (int i = 0; i < 101; ++i) model.TextureRecord("t" + std::to_string(i) + ".dds");
  WriteFile(scratch / "many.nif", ToString(model.bytes));

  const RunResult run = RunCli({"list", "many.nif"}, scratch.path());
  EXPECT_EQ(run.exitCode, 0);
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 100u);
  EXPECT_TRUE(lines.back().starts_with("99\t")) << lines.back();
  EXPECT_TRUE(lines.back().ends_with("\tt99.dds")) << lines.back();
  EXPECT_EQ(run.err,
            "The model has more than 100 external texture references; only the first 100 are "
            "listed\n");
}

TEST(CliList, LoadFailuresPrintTheMessageOnStderrAndExitOne) {
  Scratch scratch;
  WriteFile(scratch / "short.nif", "NetImmer");
  ModelBuilder lower = ModelBytes();
  lower.TextureRecord("tx_a.dds");
  lower.bytes[0] = 'n';  // the header differs in letter case only
  WriteFile(scratch / "lower.nif", ToString(lower.bytes));
  struct Case {
    std::string model;
    std::string message;
  };
  const std::vector<Case> cases = {
      {scratch / "absent.nif", "Cannot open file"},
      {FixturePath("test_fix_texturepath.nif"), "Cannot recognize file format"},
      {FixturePath("test_opt_dupgeomdata.nif"), "No texture references found in the file"},
      {FixturePath("test_fix_clampmaterialalpha.nif"), "No texture references found in the file"},
      {scratch / "short.nif", "Cannot recognize file format"},
      {scratch / "lower.nif", "Cannot recognize file format"},
  };
  for (const Case& c : cases) {
    for (const char* command : {"list", "make"}) {
      std::vector<std::string> args = {command, c.model};
      if (std::string(command) == "make") {
        WriteFile(scratch / "tex/moss.dds", "");
        args.insert(args.end(), {"--ref", "0", "tex/moss.dds"});
      }
      const Snapshot before = TakeSnapshot(scratch.path());
      const RunResult run = RunCli(args, scratch.path());
      EXPECT_EQ(run.exitCode, 1) << command << " " << c.model;
      EXPECT_EQ(run.out, "") << command << " " << c.model;
      EXPECT_EQ(run.err, c.message + "\n") << command << " " << c.model;
      EXPECT_TRUE(SameSnapshot(TakeSnapshot(scratch.path()), before)) << command << " " << c.model;
    }
  }
}

TEST(CliMake, RealModelWritesOneCopyPerTextureWithOnlyTheChosenReferenceChanged) {
  Scratch scratch;
  const std::string model = CopyRock(scratch);
  const std::string image = ReadFile(model);
  // Textures from two folders: only their names go into the copies.
  WriteFile(scratch / "tex/moss_b.dds", "");
  WriteFile(scratch / "other/Moss_A.dds", "");

  const RunResult run =
      RunCli({"make", kRock, "--ref", "1", "tex/moss_b.dds", "other/Moss_A.dds"}, scratch.path());
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "Generated 2 file(s) with names:\n" + (scratch / "morrowind_mossyrock") + "_*.nif\n");
  // Without --suffix the question is answered No: numbered, in sorted order.
  EXPECT_TRUE(SameBytes(ReadFile(scratch / "morrowind_mossyrock_01.nif"),
                        ExpectedCopy(image, 45211, 45243, "Moss_A.dds")));
  EXPECT_TRUE(SameBytes(ReadFile(scratch / "morrowind_mossyrock_02.nif"),
                        ExpectedCopy(image, 45211, 45243, "moss_b.dds")));
  EXPECT_TRUE(SameBytes(ReadFile(model), image));
}

TEST(CliMake, ErrorsGoToStderrAndTheReportToStdout) {
  Scratch scratch;
  CopyRock(scratch);
  WriteFile(scratch / "tex/a.dds", "");
  WriteFile(scratch / "tex/b.dds", "");
  WriteFile(scratch / "tex/c.dds", "");
  fs::create_directory(scratch / "morrowind_mossyrock_02.nif");

  const RunResult run =
      RunCli({"make", kRock, "--ref", "0", "tex/c.dds", "tex/a.dds", "tex/b.dds"}, scratch.path());
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Cannot create file " + (scratch / "morrowind_mossyrock_02.nif") +
                         " for texture b.dds\n");
  EXPECT_EQ(run.out,
            "Generated 2 file(s) with names:\n" + (scratch / "morrowind_mossyrock") + "_*.nif\n");
  EXPECT_TRUE(fs::is_regular_file(scratch / "morrowind_mossyrock_01.nif"));
  EXPECT_TRUE(fs::is_regular_file(scratch / "morrowind_mossyrock_03.nif"));
}

TEST(CliUsage, MistakesExitTwoWithOneLineAndWriteNothing) {
  Scratch scratch;
  CopyRock(scratch);
  WriteFile(scratch / "tex/moss.dds", "");
  fs::create_directory(scratch / "folder.dds");
  const std::string tooLong = std::string(260, 'm') + ".nif";

  struct Case {
    std::vector<std::string> args;
    std::string reason;  // a part of the one-line reason
  };
  const std::vector<Case> cases = {
      {{}, "missing command"},
      {{"copy", kRock}, "unknown command copy"},
      {{"--frobnicate"}, "unknown option --frobnicate"},
      {{"list"}, "needs a MODEL"},
      {{"list", kRock, "extra.nif"}, "list takes one MODEL"},
      {{"list", "--ref", "0", kRock}, "unknown option --ref"},
      {{"make", kRock, "tex/moss.dds"}, "needs --ref"},
      {{"make", kRock, "--ref"}, "--ref needs a number"},
      {{"make", kRock, "--ref", "one", "tex/moss.dds"}, "not 'one'"},
      {{"make", kRock, "--ref", "-1", "tex/moss.dds"}, "not '-1'"},
      {{"make", kRock, "--ref=1x", "tex/moss.dds"}, "not '1x'"},
      {{"make", kRock, "--ref", "4294967296", "tex/moss.dds"}, "not '4294967296'"},
      {{"make", kRock, "--ref", "2", "tex/moss.dds"}, "--ref 2 is out of range"},
      {{"make", kRock, "--ref", "0"}, "at least one TEXTURE"},
      {{"make", kRock, "--ref", "0", "--sufix", "tex/moss.dds"}, "unknown option --sufix"},
      {{"make", kRock, "--ref", "0", "tex/moss.dds", "tex/absent.dds"},
       "texture file not found: tex/absent.dds"},
      {{"make", kRock, "--ref", "0", "folder.dds"}, "texture is not a file: folder.dds"},
      {{"make", "tex", "--ref", "0", "tex/moss.dds"}, "MODEL is not a file"},
      {{"list", tooLong}, "at most 259"},
  };
  const Snapshot before = TakeSnapshot(scratch.path());
  for (const Case& c : cases) {
    std::string shown;
    for (const auto& arg : c.args) shown += " " + arg.substr(0, 40);
    const RunResult run = RunCli(c.args, scratch.path());
    EXPECT_EQ(run.exitCode, 2) << shown;
    EXPECT_EQ(run.out, "") << shown;
    const auto lines = Lines(run.err);
    ASSERT_EQ(lines.size(), 1u) << shown << "\n" << run.err;
    EXPECT_TRUE(lines[0].starts_with("texmint-cli: ")) << lines[0];
    EXPECT_NE(lines[0].find(c.reason), std::string::npos) << lines[0];
    EXPECT_TRUE(SameSnapshot(TakeSnapshot(scratch.path()), before)) << shown;
  }
}

TEST(CliUsage, OutOfRangeRefAfterALoadNoteStillPrintsOnlyTheReason) {
  Scratch scratch;
  ModelBuilder model = ModelBytes();
  for (int i = 0; i < 101; ++i) model.TextureRecord("t.dds");
  WriteFile(scratch / "many.nif", ToString(model.bytes));
  WriteFile(scratch / "moss.dds", "");

  const Snapshot before = TakeSnapshot(scratch.path());
  const RunResult run = RunCli({"make", "many.nif", "--ref", "100", "moss.dds"}, scratch.path());
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
  EXPECT_TRUE(SameSnapshot(TakeSnapshot(scratch.path()), before));
}

TEST(CliUsage, OptionsMayFollowTheTexturesAndDoubleDashEndsThem) {
  Scratch scratch;
  const std::string image = ReadFile(CopyRock(scratch));
  WriteFile(scratch / "-odd.dds", "");

  const RunResult run = RunCli({"make", kRock, "--", "-odd.dds"}, scratch.path());
  EXPECT_EQ(run.exitCode, 2) << "--ref is still required";

  const RunResult done = RunCli({"make", "--ref=0", kRock, "--", "-odd.dds"}, scratch.path());
  EXPECT_EQ(done.exitCode, 0) << done.err;
  EXPECT_TRUE(SameBytes(ReadFile(scratch / "morrowind_mossyrock_01.nif"),
                        ExpectedCopy(image, 431, 463, "-odd.dds")));
}

TEST(CliHelp, HelpAndVersionGoToStdout) {
  Scratch scratch;
  const RunResult help = RunCli({"--help"}, scratch.path());
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.err, "");
  EXPECT_NE(help.out.find("texmint-cli make MODEL --ref N [--suffix] TEXTURE..."),
            std::string::npos);
  EXPECT_NE(help.out.find("Example:\n  texmint-cli list "), std::string::npos);
  EXPECT_EQ(RunCli({"make", "x.nif", "-h"}, scratch.path()).out, help.out);

  const RunResult version = RunCli({"--version"}, scratch.path());
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, "texmint-cli " TEXMINT_VERSION "\n");
  EXPECT_EQ(version.err, "");
  EXPECT_TRUE(TakeSnapshot(scratch.path()).empty());
}

// Many copies with stderr on a terminal: a progress line that is wiped before an error
// and at the end, and nothing of it on stdout.
TEST(CliProgress, ShownOnATerminalOnlyAndWipedBeforeErrors) {
  Scratch scratch;
  CopyRock(scratch);
  std::vector<std::string> args = {"make", kRock, "--ref", "0"};
  for (int i = 0; i < 12; ++i) {
    const std::string name = "tex/t" + std::string(1, char('a' + i)) + "x.dds";
    WriteFile(scratch / name, "");
    args.push_back(name);
  }
  fs::create_directory(scratch / "morrowind_mossyrock_05.nif");
  const std::string error =
      "Cannot create file " + (scratch / "morrowind_mossyrock_05.nif") + " for texture tex.dds";
  const std::string report =
      "Generated 11 file(s) with names:\n" + (scratch / "morrowind_mossyrock") + "_*.nif\n";

  const RunResult terminal = RunCli(args, scratch.path(), /*errorOnTerminal=*/true);
  EXPECT_EQ(terminal.exitCode, 1);
  EXPECT_EQ(terminal.out, report);
  EXPECT_NE(terminal.err.find("Writing copy 1 of 12"), std::string::npos) << terminal.err;
  EXPECT_NE(terminal.err.find("Writing copy 12 of 12"), std::string::npos) << terminal.err;
  // What a terminal shows: each line as left after its last carriage return.
  std::vector<std::string> shown;
  for (const std::string& line : Lines(terminal.err))
    shown.push_back(line.substr(line.rfind('\r') + 1));
  ASSERT_EQ(shown.size(), 2u) << terminal.err;
  EXPECT_EQ(shown[0], error) << "the progress line is wiped before an error";
  EXPECT_EQ(shown[1], "") << "the last progress line is wiped";

  const RunResult piped = RunCli(args, scratch.path());
  EXPECT_EQ(piped.out, report);
  EXPECT_EQ(piped.err, error + "\n");
}

}  // namespace
