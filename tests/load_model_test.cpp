#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/app_state.h"
#include "front/ui_standin.h"
#include "model/load_model.h"
#include "support/model_builder.h"
#include "support/scoped_file_ops.h"
#include "support/scratch_dir.h"

namespace {

class LoadModelTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetAppState();
    StandinOpenDialog();
  }

  int Load(const std::string& path) {
    std::strcpy(g_app.modelPath, path.c_str());
    return LoadModel();
  }

  // The one message box shown, as "caption|text".
  std::string OnlyMessage() const {
    const auto& boxes = TheStandin().messageBoxes;
    if (boxes.size() != 1) return "expected one box, saw " + std::to_string(boxes.size());
    EXPECT_EQ(boxes[0].kind,
              boxes[0].caption == kErrorCaption ? MessageKind::kError : MessageKind::kInformation);
    return boxes[0].caption + "|" + boxes[0].text;
  }

  ScratchDir dir_;
};

TEST_F(LoadModelTest, RealModelGivesItsTwoReferences) {
  ASSERT_EQ(Load(FixturePath("morrowind_mossyrock.nif")), 1);
  EXPECT_TRUE(TheStandin().messageBoxes.empty());
  ASSERT_EQ(g_app.refCount, 2u);
  EXPECT_EQ(g_app.modelSize, 66914u);
  const std::uint32_t expected[2][2] = {{431, 463}, {45211, 45243}};
  for (int i = 0; i < 2; ++i) {
    EXPECT_STREQ(g_app.refs[i].displayName, "tx_merp_mirkwood_stone01.dds");
    EXPECT_EQ(g_app.refs[i].lengthOffset, expected[i][0]);
    EXPECT_EQ(g_app.refs[i].tailOffset, expected[i][1]);
  }
}

TEST_F(LoadModelTest, EachFailureIsReportedOnceWithItsText) {
  WriteBytes(dir_.File("ten.nif"), Bytes(10, 'N'));
  WriteBytes(dir_.File("empty.nif"), {});
  const struct {
    std::string path;
    std::string message;
  } cases[] = {
      {FixturePath("test_opt_dupgeomdata.nif"), kMsgNoReferences},
      {FixturePath("test_fix_clampmaterialalpha.nif"), kMsgNoReferences},
      {FixturePath("test_fix_texturepath.nif"), kMsgNotRecognized},
      {dir_.File("ten.nif"), kMsgNotRecognized},
      {dir_.File("empty.nif"), kMsgNotRecognized},
      {dir_.File("missing.nif"), kMsgCannotOpen},
  };
  for (const auto& c : cases) {
    TheStandin().messageBoxes.clear();
    EXPECT_EQ(Load(c.path), 0) << c.path;
    EXPECT_EQ(OnlyMessage(), std::string(kErrorCaption) + "|" + c.message) << c.path;
  }
}

TEST_F(LoadModelTest, MoreThanAHundredReferencesAreListedUpToTheLimitWithANote) {
  ModelBuilder m = ModelBuilder::NetImmerse();
  for (int i = 0; i < 120; ++i) m.TextureRecord("t" + std::to_string(i) + ".dds");
  WriteBytes(dir_.File("many.nif"), m.bytes);
  ASSERT_EQ(Load(dir_.File("many.nif")), 1);
  EXPECT_EQ(g_app.refCount, 100u);
  EXPECT_EQ(OnlyMessage(), std::string(kAppCaption) + "|" + kMsgFirstHundred);
}

// Host failures the platform rarely shows, made to happen.
struct FakeHost {
  static inline std::uint64_t size = 0;
  static inline bool seekFails = false;
  static inline std::size_t allocationAsked = 0;
  static inline bool allocationFails = false;

  static bool SizeBySeeking(FileHandle, std::uint64_t* out) {
    if (seekFails) return false;
    *out = size;
    return true;
  }
  static std::uint8_t* Allocate(std::size_t bytes) {
    allocationAsked = bytes;
    return allocationFails ? nullptr : AllocateBytes(bytes);
  }
  // Answers as the system would for a file of `fileSize` bytes.
  static void Reset(std::uint64_t fileSize) {
    seekFails = false;
    allocationFails = false;
    size = fileSize;
    allocationAsked = 0;
  }
  static FileOps Ops() {
    FileOps ops = SystemFileOps();
    ops.sizeBySeeking = SizeBySeeking;
    ops.allocate = Allocate;
    return ops;
  }
};

TEST_F(LoadModelTest, HostFailuresAreReportedAndLeaveNoImage) {
  ModelBuilder m = ModelBuilder::NetImmerse();
  m.TextureRecord("tx.dds");
  WriteBytes(dir_.File("ok.nif"), m.bytes);
  const FileOps ops = FakeHost::Ops();
  ScopedFileOps scoped(ops);

  const struct {
    const char* what;
    bool seekFails;
    std::uint64_t size;
    bool allocationFails;
    const char* message;
  } cases[] = {
      {"seek fails", true, m.size(), false, kMsgCannotOpen},
      {"4 GiB", false, 0x100000000ull, false, kMsgTooLarge},
      {"far beyond", false, ~0ull, false, kMsgTooLarge},
      {"no memory", false, m.size(), true, kMsgOutOfMemory},
  };
  for (const auto& c : cases) {
    // A loaded model first, so a failure has something to leave behind.
    FakeHost::Reset(m.size());
    ASSERT_EQ(Load(dir_.File("ok.nif")), 1);
    TheStandin().messageBoxes.clear();
    FakeHost::allocationAsked = 0;

    FakeHost::seekFails = c.seekFails;
    FakeHost::size = c.size;
    FakeHost::allocationFails = c.allocationFails;
    EXPECT_EQ(Load(dir_.File("ok.nif")), 0) << c.what;
    EXPECT_EQ(OnlyMessage(), std::string(kErrorCaption) + "|" + c.message) << c.what;
    EXPECT_EQ(g_app.refCount, 0u) << c.what;
    EXPECT_FALSE(g_app.modelImage) << c.what;
    if (c.size > 0xFFFFFFFFull) {
      EXPECT_EQ(FakeHost::allocationAsked, 0u) << c.what;
    }
  }
}

TEST_F(LoadModelTest, ImageHasSlackBeyondTheFileBytes) {
  ModelBuilder m = ModelBuilder::NetImmerse();
  m.TextureRecord("tx.dds");
  WriteBytes(dir_.File("ok.nif"), m.bytes);
  const FileOps ops = FakeHost::Ops();
  ScopedFileOps scoped(ops);
  FakeHost::Reset(m.size());
  ASSERT_EQ(Load(dir_.File("ok.nif")), 1);
  EXPECT_EQ(FakeHost::allocationAsked, m.size() + 1024u);
  EXPECT_EQ(Bytes(g_app.modelImage.get(), g_app.modelImage.get() + g_app.modelSize), m.bytes);
}

}  // namespace
