#include <gtest/gtest.h>

#include "model/load_model.h"
#include "support/dialog_session.h"
#include "support/model_builder.h"
#include "support/scratch_dir.h"

namespace {

using Rows_t = std::vector<std::string>;

class MainDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    StartDialog();
    ModelBuilder m = ModelBuilder::NetImmerse();
    m.TextureRecord("textures\\first.dds");
    m.TextureRecord("second.dds");
    m.TextureRecord("first.dds");
    WriteBytes(dir_.File("three.nif"), m.bytes);
    ModelBuilder one = ModelBuilder::NetImmerse();
    one.TextureRecord("only.dds");
    WriteBytes(dir_.File("one.nif"), one.bytes);
  }

  void ExpectNoModel() {
    EXPECT_EQ(Box(kPathBox), "");
    EXPECT_TRUE(Rows(kTextureList).empty());
    EXPECT_FALSE(TheStandin().createNifsEnabled);
    EXPECT_EQ(g_app.refCount, 0u);
    EXPECT_FALSE(g_app.modelImage);
    EXPECT_STREQ(g_app.modelPath, "");
  }

  ScratchDir dir_;
};

TEST_F(MainDialogTest, StartsEmptyWithCreateDisabledAndFocusOnSelectNif) {
  ExpectNoModel();
  EXPECT_EQ(Box(kFolderBox), "");
  EXPECT_TRUE(Rows(kReplacementList).empty());
  EXPECT_EQ(TheStandin().focus, kSelectNifButton);
  EXPECT_TRUE(TheStandin().messageBoxes.empty());
}

TEST_F(MainDialogTest, LoadingAModelListsItsReferencesInFileOrder) {
  SelectNif(dir_.File("three.nif"));
  EXPECT_EQ(Box(kPathBox), dir_.File("three.nif"));
  EXPECT_EQ(Rows(kTextureList), (Rows_t{"first.dds", "second.dds", "first.dds"}));
  EXPECT_EQ(TheStandin().lists[kTextureList].selection, -1);
  EXPECT_EQ(TheStandin().focus, kTextureList);
  EXPECT_FALSE(TheStandin().createNifsEnabled) << "no replacements yet";

  ASSERT_EQ(TheStandin().fileDialogCalls.size(), 1u);
  const StandinFileDialogCall& call = TheStandin().fileDialogCalls[0];
  EXPECT_EQ(call.filter, std::string("NIF Files (*.nif)\0*.nif\0All Files (*.*)\0*.*\0\0", 45));
  EXPECT_EQ(call.flags, 0x1804u);
  EXPECT_EQ(call.bufferSize, 260u);
  EXPECT_TRUE(call.initialDirNull);
}

TEST_F(MainDialogTest, AFailedLoadShowsItsMessageAndLeavesNoModel) {
  WriteBytes(dir_.File("plain.txt"), ToBytes("just some text, not a model"));
  WriteBytes(dir_.File("bare.nif"), ModelBuilder::NetImmerse(", Version 4.0.0.2").bytes);
  const struct {
    std::string file;
    const char* message;
  } cases[] = {
      {"plain.txt", kMsgNotRecognized},
      {"bare.nif", kMsgNoReferences},
      {"gone.nif", kMsgCannotOpen},
  };
  for (const auto& c : cases) {
    SelectNif(dir_.File("three.nif"));  // a loaded model the failure must discard
    TheStandin().messageBoxes.clear();
    SelectNif(dir_.File(c.file));
    ASSERT_EQ(TheStandin().messageBoxes.size(), 1u) << c.file;
    EXPECT_EQ(TheStandin().messageBoxes[0].text, c.message);
    EXPECT_EQ(TheStandin().messageBoxes[0].caption, "Texmint Error");
    EXPECT_EQ(TheStandin().messageBoxes[0].kind, MessageKind::kError);
    ExpectNoModel();
  }
}

TEST_F(MainDialogTest, CancelDiscardsTheLoadedModel) {
  SelectNif(dir_.File("three.nif"));
  CancelSelectNif();
  ExpectNoModel();
  EXPECT_TRUE(TheStandin().messageBoxes.empty());
}

TEST_F(MainDialogTest, SecondModelReplacesTheRowsAndKeepsTheReplacements) {
  SelectTextures(dir_.path().string(), {"a.dds", "b.dds"});
  SelectNif(dir_.File("three.nif"));
  EXPECT_TRUE(TheStandin().createNifsEnabled);
  TheStandin().lists[kTextureList].selection = 1;

  SelectNif(dir_.File("one.nif"));
  EXPECT_EQ(Rows(kTextureList), (Rows_t{"only.dds"}));
  EXPECT_EQ(TheStandin().lists[kTextureList].selection, -1);
  EXPECT_EQ(Rows(kReplacementList), (Rows_t{"a.dds", "b.dds"}));
  EXPECT_TRUE(TheStandin().createNifsEnabled);
  EXPECT_EQ(TheStandin().focus, kTextureList);

  SelectNif(dir_.File("gone.nif"));
  EXPECT_FALSE(TheStandin().createNifsEnabled) << "a failed load leaves nothing to create from";
  EXPECT_EQ(Rows(kReplacementList), (Rows_t{"a.dds", "b.dds"}));
}

TEST_F(MainDialogTest, EscIsIgnoredAndCloseEndsTheDialog) {
  SelectNif(dir_.File("one.nif"));
  EXPECT_EQ(Command(2), 0) << "IDCANCEL must be left to the platform, which then does nothing";
  EXPECT_EQ(Command(1), 0);
  EXPECT_FALSE(TheStandin().dialogEnded);
  EXPECT_EQ(Rows(kTextureList), (Rows_t{"only.dds"}));

  EXPECT_EQ(MainDialogProc(g_app.hwndMain, 0x0200 /* mouse move */, 0, 0), 0);
  EXPECT_EQ(MainDialogProc(g_app.hwndMain, kMsgClose, 0, 0), 1);
  EXPECT_TRUE(TheStandin().dialogEnded);
}

}  // namespace
