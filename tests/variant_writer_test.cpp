#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "support/dialog_session.h"
#include "support/model_builder.h"
#include "support/scratch_dir.h"
#include "variants/variant_writer.h"

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

// A 1,000-byte model whose only reference has its length at 400 and a 12-byte path.
Bytes ThousandByteModel() {
  ModelBuilder m = ModelBuilder::NetImmerse();
  m.Zeros(368 - m.size());
  EXPECT_EQ(m.TextureRecord("textures\\old"), 400u);
  m.Zeros(1000 - m.size());
  for (std::size_t i = 420; i < 1000; ++i) m.bytes[i] = std::uint8_t(i * 7);  // no zeros only
  return m.bytes;
}

TEST(BuildVariantPieces, NeverReachesPastTheImage) {
  const Bytes image = ToBytes("0123456789");
  const struct {
    std::uint32_t lengthOffset, tailOffset;
    const char* before;  // the image's bytes kept before the new length and name
    const char* after;   // and after them
  } cases[] = {
      {2, 6, "01", "6789"},       {2, 10, "01", ""},        {8, 40, "01234567", ""},
      {40, 50, "0123456789", ""}, {6, 2, "012345", "6789"},
  };
  for (const auto& c : cases) {
    VariantPieces v;
    BuildVariantPieces(image, TextureRef{{}, c.lengthOffset, c.tailOffset}, "X", v);
    std::string joined;
    for (const auto& piece : v.pieces) joined.append(piece.begin(), piece.end());
    EXPECT_EQ(joined, c.before + std::string("\x01\0\0\0X", 5) + c.after)
        << c.lengthOffset << "/" << c.tailOffset;
  }
}

class VariantWriterTest : public testing::Test {
 protected:
  void SetUp() override { StartDialog(); }

  // Loads `model` as `fileName`, chooses the replacement names and texture row `row`.
  void Prepare(const Bytes& model, const Names& textures, int row = 0,
               const std::string& fileName = "barrel.nif") {
    model_ = model;
    modelPath_ = dir_.File(fileName);
    WriteBytes(modelPath_, model);
    SelectNif(modelPath_);
    SelectTextures("/textures", textures);
    StandinSelectRow(kTextureList, row);
    TheStandin().messageBoxes.clear();
  }

  std::vector<StandinMessageBox>& Boxes() { return TheStandin().messageBoxes; }
  std::string Out(const std::string& name) const { return dir_.File(name); }

  ScratchDir dir_;
  Bytes model_;
  std::string modelPath_;
};

TEST_F(VariantWriterTest, ThousandByteModelGivesTheSplicedCopy) {
  Prepare(ThousandByteModel(), {"tx_b.dds"});
  Command(kCreateNifsButton);
  const Bytes copy = ReadBytes(Out("barrel_01.nif"));
  ASSERT_EQ(copy.size(), 996u);
  EXPECT_TRUE(std::equal(copy.begin(), copy.begin() + 400, model_.begin()));
  EXPECT_EQ(Bytes(copy.begin() + 400, copy.begin() + 412),
            ToBytes(std::string("\x08\0\0\0", 4) + "tx_b.dds"));
  EXPECT_TRUE(std::equal(copy.begin() + 412, copy.end(), model_.begin() + 416));
}

TEST_F(VariantWriterTest, CopiesDifferOnlyInTheChosenReference) {
  ModelBuilder m = ModelBuilder::NetImmerse(", Version 4.0.0.2");
  const auto first = m.TextureRecord("textures\\rock.dds");
  m.Raw("between").U32(7);
  const auto second = m.TextureRecord("textures\\rock.dds");
  m.Raw("tail bytes");
  const std::uint32_t firstTail = first + 4 + 17, secondTail = second + 4 + 17;
  const Names names = {"moss.dds", "a.dds", std::string(99, 'w')};  // shorter, equal and longer
  for (int row : {0, 1}) {
    StartDialog();
    Prepare(m.bytes, names, row);
    Command(kCreateNifsButton);
    const std::uint32_t at = row == 0 ? first : second;
    const std::uint32_t tail = row == 0 ? firstTail : secondTail;
    // Numbered in sorted order: a.dds, moss.dds, www...
    const Names sorted = {"a.dds", "moss.dds", std::string(99, 'w')};
    for (std::size_t i = 0; i < sorted.size(); ++i) {
      const std::string out = Out("barrel_0" + std::to_string(i + 1) + ".nif");
      EXPECT_EQ(ReadBytes(out), ExpectedCopy(m.bytes, at, tail, sorted[i]))
          << out << " row " << row;
    }
  }
}

TEST_F(VariantWriterTest, NumberedCopiesAndTheClosingReport) {
  Prepare(ThousandByteModel(), {"c.dds", "a.dds", "b.dds"});
  Command(kCreateNifsButton);
  EXPECT_EQ(ListFolder(dir_.path()),
            (Names{"barrel.nif", "barrel_01.nif", "barrel_02.nif", "barrel_03.nif"}));
  EXPECT_EQ(ReadBytes(Out("barrel_02.nif")), ExpectedCopy(model_, 400, 416, "b.dds"));
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].text, "Generated 3 file(s) with names:\n" + dir_.File("barrel") + "_*.nif");
  EXPECT_EQ(Boxes()[0].caption, "Texmint");
  EXPECT_EQ(Boxes()[0].kind, MessageKind::kInformation);
  EXPECT_EQ(TheStandin().waitCursorUses, 1);
  EXPECT_EQ(TheStandin().waitCursorDepth, 0);
  EXPECT_EQ(TheStandin().progress, (std::vector<std::uint32_t>{0, 1, 2}));
  // The command leaves the dialog as it was, ready to run again.
  EXPECT_EQ(Rows(kReplacementList), (Names{"a.dds", "b.dds", "c.dds"}));
  EXPECT_EQ(TheStandin().lists[kTextureList].selection, 0);
  EXPECT_TRUE(TheStandin().createNifsEnabled);
}

TEST_F(VariantWriterTest, WithoutASelectedTextureNothingIsWritten) {
  Prepare(ThousandByteModel(), {"a.dds"}, -1);
  Command(kCreateNifsButton);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].text, "Please, select texture that should be replaced");
  EXPECT_EQ(Boxes()[0].caption, "Texmint Error");
  EXPECT_EQ(ListFolder(dir_.path()), (Names{"barrel.nif"}));
}

TEST_F(VariantWriterTest, SuffixQuestionDecidesTheNames) {
  const struct {
    const char* what;
    Names textures;
    std::deque<int> answers;
    bool asked;
    Names files;
  } cases[] = {
      {"yes",
       {"rock01.dds", "rock02.dds", "rock10.dds"},
       {6},
       true,
       {"barrel_01.nif", "barrel_02.nif", "barrel_10.nif"}},
      {"no", {"wall_a.dds", "wall_b.dds"}, {7}, true, {"barrel_01.nif", "barrel_02.nif"}},
      {"closed", {"wall_a.dds", "wall_b.dds"}, {2}, true, {"barrel_01.nif", "barrel_02.nif"}},
      {"yes, case kept", {"Wall_A.dds", "wall_b.DDS"}, {6}, true, {"barrel_A.nif", "barrel_b.nif"}},
      {"single", {"wall_a.dds"}, {}, false, {"barrel_01.nif"}},
      {"not offered", {"blue.dds", "red.dds"}, {}, false, {"barrel_01.nif", "barrel_02.nif"}},
  };
  for (const auto& c : cases) {
    StartDialog();
    ScratchDir dir;
    const std::string model = dir.File("barrel.nif");
    WriteBytes(model, ThousandByteModel());
    SelectNif(model);
    SelectTextures("/t", c.textures);
    StandinSelectRow(kTextureList, 0);
    TheStandin().messageBoxes.clear();
    TheStandin().messageBoxAnswers = c.answers;
    Command(kCreateNifsButton);

    Names expected = c.files;
    expected.insert(expected.begin(), "barrel.nif");
    EXPECT_EQ(ListFolder(dir.path()), expected) << c.what;
    const bool asked = !Boxes().empty() && Boxes()[0].kind == MessageKind::kQuestion;
    EXPECT_EQ(asked, c.asked) << c.what;
    if (asked) {
      EXPECT_EQ(Boxes()[0].text, "Do you want to use texture-based suffix instead of numbers?");
      EXPECT_EQ(Boxes()[0].caption, "Texmint");
    }
  }
}

TEST_F(VariantWriterTest, UnwritableOutputInTheMiddleIsSkippedAndNotCounted) {
  for (const bool readOnlyFile : {false, true}) {
    StartDialog();
    ScratchDir dir;
    const std::string model = dir.File("barrel.nif");
    WriteBytes(model, ThousandByteModel());
    const std::string blocked = dir.File("barrel_02.nif");
    if (readOnlyFile) {
      WriteBytes(blocked, ToBytes("keep me"));
      ASSERT_EQ(chmod(blocked.c_str(), 0444), 0);
    } else {
      fs::create_directory(blocked);
    }
    SelectNif(model);
    SelectTextures("/t", {"a.dds", "b.dds", "c.dds"});
    StandinSelectRow(kTextureList, 0);
    TheStandin().messageBoxes.clear();
    Command(kCreateNifsButton);

    EXPECT_EQ(ListFolder(dir.path()),
              (Names{"barrel.nif", "barrel_01.nif", "barrel_02.nif", "barrel_03.nif"}));
    EXPECT_EQ(ReadBytes(dir.File("barrel_03.nif")),
              ExpectedCopy(ThousandByteModel(), 400, 416, "c.dds"));
    if (readOnlyFile) {
      EXPECT_EQ(ReadBytes(blocked), ToBytes("keep me"));
    }
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[0].text, "Cannot create file " + blocked + " for texture b.dds");
    EXPECT_EQ(Boxes()[0].caption, "Texmint Error");
    EXPECT_EQ(Boxes()[1].text.substr(0, 27), "Generated 2 file(s) with na");
  }
}

TEST_F(VariantWriterTest, TheModelFileItselfIsNeverOverwritten) {
  // 24 characters, then "_01": the first numbered copy would carry the model's own name.
  const std::string name = "abcdefghijklmnopqrstuvwx_01.nif";
  Prepare(ThousandByteModel(), {"a.dds", "b.dds"}, 0, name);
  Command(kCreateNifsButton);
  EXPECT_EQ(ReadBytes(modelPath_), model_);
  EXPECT_EQ(ListFolder(dir_.path()), (Names{name, "abcdefghijklmnopqrstuvwx_02.nif"}));
  ASSERT_EQ(Boxes().size(), 2u);
  EXPECT_EQ(Boxes()[0].kind, MessageKind::kError);
  EXPECT_NE(Boxes()[0].text.find(modelPath_), std::string::npos) << Boxes()[0].text;
  EXPECT_EQ(Boxes()[1].text.substr(0, 27), "Generated 1 file(s) with na");
}

TEST_F(VariantWriterTest, RunningAgainReplacesTheEarlierCopies) {
  Prepare(ThousandByteModel(), {"a.dds", "b.dds"});
  WriteBytes(Out("barrel_01.nif"), ToBytes("stale copy from an older model"));
  Command(kCreateNifsButton);
  WriteBytes(Out("barrel_02.nif"), ToBytes("edited by hand"));
  Command(kCreateNifsButton);
  EXPECT_EQ(ReadBytes(Out("barrel_01.nif")), ExpectedCopy(model_, 400, 416, "a.dds"));
  EXPECT_EQ(ReadBytes(Out("barrel_02.nif")), ExpectedCopy(model_, 400, 416, "b.dds"));
  EXPECT_EQ(ListFolder(dir_.path()), (Names{"barrel.nif", "barrel_01.nif", "barrel_02.nif"}));
}

TEST_F(VariantWriterTest, RealModelCopiesForEachReference) {
  const Bytes model = ReadBytes(FixturePath("morrowind_mossyrock.nif"));
  const std::uint32_t refs[2][2] = {{431, 463}, {45211, 45243}};
  const Names textures = {"moss_a.dds", "moss_b.dds", "lichen_covered_stone.dds"};
  for (int row : {0, 1}) {
    StartDialog();
    ScratchDir dir;
    const std::string path = dir.File("morrowind_mossyrock.nif");
    WriteBytes(path, model);
    SelectNif(path);
    SelectTextures("/t", textures);
    StandinSelectRow(kTextureList, row);
    Command(kCreateNifsButton);
    const Names sorted = {"lichen_covered_stone.dds", "moss_a.dds", "moss_b.dds"};
    for (int i = 0; i < 3; ++i) {
      const Bytes copy =
          ReadBytes(dir.File("morrowind_mossyrock_0" + std::to_string(i + 1) + ".nif"));
      const auto [at, tail] = refs[row];
      ASSERT_EQ(copy.size(), model.size() - 28 + sorted[i].size());
      EXPECT_TRUE(std::equal(model.begin(), model.begin() + at, copy.begin()));
      EXPECT_EQ(copy[at], sorted[i].size());
      EXPECT_EQ(std::string(copy.begin() + at + 4, copy.begin() + at + 4 + sorted[i].size()),
                sorted[i]);
      EXPECT_TRUE(
          std::equal(model.begin() + tail, model.end(), copy.begin() + at + 4 + sorted[i].size()));
      // The other reference still names the old texture.
      const std::ptrdiff_t shift =
          row == 0 ? std::ptrdiff_t(copy.size()) - std::ptrdiff_t(model.size()) : 0;
      const std::ptrdiff_t other = refs[1 - row][0] + shift;
      EXPECT_EQ(std::string(copy.begin() + other + 4, copy.begin() + other + 32),
                "tx_merp_mirkwood_stone01.dds");
    }
  }
}

}  // namespace
