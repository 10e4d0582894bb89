#include <gtest/gtest.h>

#include <string>

#include "support/dialog_session.h"
#include "support/model_builder.h"
#include "support/scratch_dir.h"
#include "variants/replacement_list.h"

namespace {

using Rows_t = std::vector<std::string>;

int Sign(int v) {
  return (v > 0) - (v < 0);
}

TEST(CompareNamesNoCase, OrdersBytesWithLettersFolded) {
  const struct {
    const char* a;
    const char* b;
    int order;
  } cases[] = {
      {"A.dds", "a.dds", 0},
      {"b.dds", "A.dds", 1},
      {"wall.dds", "wall_a.dds", -1},
      {"wall.dds", "wall1.dds", -1},
      {"wall_a.dds", "wallb.dds", -1},
      {"ab", "abc", -1},
      {"[.dds", "a.dds", -1},
      {"\xE9.dds", "z.dds", 1},
      {"", "", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Sign(CompareNamesNoCase(c.a, c.b)), c.order) << c.a << " vs " << c.b;
    EXPECT_EQ(Sign(CompareNamesNoCase(c.b, c.a)), -c.order) << c.b << " vs " << c.a;
  }
}

TEST(ParseSelection, NeverReadsPastAnUnterminatedBuffer) {
  std::string buffer(64, 'x');
  std::vector<ReplacementName> names(3);
  const SelectionParse parse = ParseSelection(buffer, 10, names);
  ASSERT_EQ(parse.status, SelectionStatus::kOk);
  EXPECT_STREQ(names[0].name, std::string(53, 'x').c_str());
}

class ReplacementListTest : public testing::Test {
 protected:
  void SetUp() override {
    StartDialog();
    ModelBuilder m = ModelBuilder::NetImmerse();
    m.TextureRecord("a.dds");
    m.TextureRecord("b.dds");
    WriteBytes(dir_.File("model.nif"), m.bytes);
  }
  const StandinFileDialogCall& LastDialog() { return TheStandin().fileDialogCalls.back(); }

  ScratchDir dir_;
};

TEST_F(ReplacementListTest, SeveralFilesAreSortedAndTheFolderIsRemembered) {
  SelectTextures("/tex", {"b.dds", "A.dds", "c.dds"});
  EXPECT_EQ(Rows(kReplacementList), (Rows_t{"A.dds", "b.dds", "c.dds"}));
  EXPECT_EQ(Box(kFolderBox), "/tex");
  EXPECT_EQ(g_app.replacementCount, 3u);
  EXPECT_EQ(LastDialog().flags, 0x81A0Cu);
  EXPECT_EQ(LastDialog().bufferSize, 30000u);
  EXPECT_EQ(LastDialog().filter,
            std::string("DDS Files (*.dds)\0*.dds\0All Files (*.*)\0*.*\0\0", 45));
  EXPECT_FALSE(LastDialog().initialDirNull) << "an empty text, not a null entry";
  EXPECT_EQ(LastDialog().initialDir, "");

  SelectTextures("/other", {"x.dds", "y.dds"});
  EXPECT_EQ(TheStandin().fileDialogCalls[1].initialDir, "/tex");
}

TEST_F(ReplacementListTest, OneFileShowsItsFullPathAndKeepsTheBareName) {
  SelectTextures("/tex", {"moss.dds"});
  EXPECT_EQ(Rows(kReplacementList), (Rows_t{"moss.dds"}));
  EXPECT_EQ(Box(kFolderBox), "/tex/moss.dds");
  EXPECT_STREQ(g_app.replacementFolder, "/tex/moss.dds");
  EXPECT_STREQ(g_app.replacements[0].name, "moss.dds");
}

TEST_F(ReplacementListTest, CancelOrFailureDiscardsTheList) {
  SelectNif(dir_.File("model.nif"));
  SelectTextures("/tex", {"a.dds", "b.dds"});
  ASSERT_TRUE(TheStandin().createNifsEnabled);

  // A choice too large for the buffer makes the dialog fail, which counts as a cancel.
  TheStandin().fileDialogAnswers.push_back(
      ChooseSeveralFiles("/tex", std::vector<std::string>(3000, std::string(10, 'n'))));
  Command(kSelectTexturesButton);
  EXPECT_TRUE(Rows(kReplacementList).empty());
  EXPECT_EQ(Box(kFolderBox), "");
  EXPECT_FALSE(TheStandin().createNifsEnabled);
  EXPECT_EQ(g_app.replacementCount, 0u);

  SelectTextures("/tex", {"a.dds", "b.dds"});
  TheStandin().fileDialogAnswers.push_back({});
  Command(kSelectTexturesButton);
  EXPECT_TRUE(Rows(kReplacementList).empty());
  EXPECT_STREQ(g_app.replacementFolder, "");
  EXPECT_FALSE(TheStandin().createNifsEnabled);
  EXPECT_EQ(LastDialog().initialDir, "/tex") << "the cancelled dialog still opened in the folder";
  EXPECT_TRUE(TheStandin().messageBoxes.empty());
}

TEST_F(ReplacementListTest, FocusFollowsWhatIsStillMissing) {
  SelectTextures("/tex", {"a.dds", "b.dds"});
  EXPECT_FALSE(TheStandin().createNifsEnabled);
  EXPECT_EQ(TheStandin().focus, kSelectNifButton) << "no model yet";

  SelectNif(dir_.File("model.nif"));
  SelectTextures("/tex", {"a.dds", "b.dds"});
  EXPECT_TRUE(TheStandin().createNifsEnabled);
  EXPECT_EQ(TheStandin().focus, kTextureList) << "no texture chosen yet";

  StandinSelectRow(kTextureList, 1);
  SelectTextures("/tex", {"c.dds"});
  EXPECT_EQ(TheStandin().focus, kCreateNifsButton);
  EXPECT_TRUE(TheStandin().createNifsEnabled);
}

TEST_F(ReplacementListTest, SelectionsBeyondTheListsLimitsAreRefusedWhole) {
  const std::string longest(99, 'l');
  const std::string tooLong(100, 'l');
  auto manyNames = [](int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
      const char digits[] = {char('a' + i % 26), char('a' + i / 26 % 26), char('a' + i / 676)};
      names.emplace_back(digits, 3);
    }
    return names;
  };
  const struct {
    const char* what;
    std::vector<std::string> names;
    std::size_t listed;  // 0: refused
  } cases[] = {
      {"99 characters", {longest, "b.dds"}, 2}, {"100 characters", {"a.dds", tooLong, "c.dds"}, 0},
      {"100 characters alone", {tooLong}, 0},   {"5000 names", manyNames(5000), 5000},
      {"5001 names", manyNames(5001), 0},
  };
  for (const auto& c : cases) {
    SelectTextures("/tex", {"old.dds", "older.dds"});
    TheStandin().messageBoxes.clear();
    SelectTextures("/tex", c.names);
    EXPECT_EQ(Rows(kReplacementList).size(), c.listed) << c.what;
    EXPECT_EQ(g_app.replacementCount, c.listed) << c.what;
    if (c.listed > 0) {
      EXPECT_TRUE(TheStandin().messageBoxes.empty()) << c.what;
      continue;
    }
    ASSERT_EQ(TheStandin().messageBoxes.size(), 1u) << c.what;
    EXPECT_EQ(TheStandin().messageBoxes[0].caption, "Texmint Error");
    EXPECT_EQ(TheStandin().messageBoxes[0].kind, MessageKind::kError);
    EXPECT_EQ(Box(kFolderBox), "") << c.what;
  }
}

}  // namespace
