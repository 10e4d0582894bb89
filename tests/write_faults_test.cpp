// Every step of writing one copy made to fail, for the first, a middle and the last copy.
#include <gtest/gtest.h>

#include <string>

#include "support/dialog_session.h"
#include "support/model_builder.h"
#include "support/scoped_file_ops.h"
#include "support/scratch_dir.h"

namespace {

using Names = std::vector<std::string>;

enum class Step { kCreate, kWrite, kClose, kRename };

// Fails one step of one copy (counted by the temporary files created) and passes every
// other call to the system.
struct Faults {
  static inline Step step = Step::kCreate;
  static inline int copy = 0;                   // which copy fails, 0-based
  static inline std::size_t piecesWritten = 0;  // for kWrite: pieces that get through first
  static inline int created = 0;

  static bool Now(Step s) { return step == s && created - 1 == copy; }

  static FileHandle CreateTemp(const char* path, char* temp, std::size_t capacity) {
    ++created;
    if (Now(Step::kCreate)) return kNoFile;
    return SystemFileOps().createTempBeside(path, temp, capacity);
  }
  static bool Write(FileHandle file, std::span<const std::span<const std::uint8_t>> pieces) {
    if (!Now(Step::kWrite)) return SystemFileOps().writePieces(file, pieces);
    SystemFileOps().writePieces(file, pieces.first(std::min(piecesWritten, pieces.size())));
    return false;
  }
  static bool Close(FileHandle file) {
    const bool closed = SystemFileOps().closeFile(file);
    return closed && !Now(Step::kClose);
  }
  static bool Rename(const char* from, const char* to) {
    return !Now(Step::kRename) && SystemFileOps().replaceFile(from, to);
  }
  static FileOps Ops() {
    FileOps ops = SystemFileOps();
    ops.createTempBeside = CreateTemp;
    ops.writePieces = Write;
    ops.closeFile = Close;
    ops.replaceFile = Rename;
    return ops;
  }
};

struct FaultCase {
  const char* name;
  Step step;
  std::size_t piecesWritten;
  const char* message;
};

const FaultCase kFaults[] = {
    {"create", Step::kCreate, 0, "Cannot create file "},
    {"write before any piece", Step::kWrite, 0, "Cannot write file "},
    {"write after the head", Step::kWrite, 1, "Cannot write file "},
    {"write after the length", Step::kWrite, 2, "Cannot write file "},
    {"write after the name", Step::kWrite, 3, "Cannot write file "},
    {"close", Step::kClose, 0, "Cannot write file "},
    {"rename", Step::kRename, 0, "Cannot create file "},
};

TEST(WriteFaults, AFailedStepLosesOnlyThatCopyAndKeepsTheOlderOne) {
  ModelBuilder m = ModelBuilder::NetImmerse();
  const auto at = m.TextureRecord("textures\\old.dds");
  m.Raw("the rest of the model");
  const Names textures = {"a.dds", "b.dds", "c.dds"};
  const Bytes older = ToBytes("an older copy the user still has");

  for (const FaultCase& fault : kFaults) {
    for (int copy = 0; copy < 3; ++copy) {
      SCOPED_TRACE(std::string(fault.name) + ", copy " + std::to_string(copy + 1));
      StartDialog();
      ScratchDir dir;
      const std::string model = dir.File("barrel.nif");
      WriteBytes(model, m.bytes);
      const std::string failing = dir.File("barrel_0" + std::to_string(copy + 1) + ".nif");
      WriteBytes(failing, older);
      SelectNif(model);
      SelectTextures("/t", textures);
      StandinSelectRow(kTextureList, 0);
      TheStandin().messageBoxes.clear();

      Faults::step = fault.step;
      Faults::copy = copy;
      Faults::piecesWritten = fault.piecesWritten;
      Faults::created = 0;
      const FileOps ops = Faults::Ops();
      {
        ScopedFileOps scoped(ops);
        Command(kCreateNifsButton);
      }

      // No temporary file is left behind, and no partial file under an output name.
      EXPECT_EQ(ListFolder(dir.path()),
                (Names{"barrel.nif", "barrel_01.nif", "barrel_02.nif", "barrel_03.nif"}));
      for (int i = 0; i < 3; ++i) {
        const std::string out = dir.File("barrel_0" + std::to_string(i + 1) + ".nif");
        const Bytes expected =
            i == copy ? older : ExpectedCopy(m.bytes, at, at + 4 + 16, textures[i]);
        EXPECT_EQ(ReadBytes(out), expected) << out;
      }
      const auto& boxes = TheStandin().messageBoxes;
      ASSERT_EQ(boxes.size(), 2u);
      EXPECT_EQ(boxes[0].text, fault.message + failing + " for texture " + textures[copy]);
      EXPECT_EQ(boxes[0].caption, "Texmint Error");
      EXPECT_EQ(boxes[1].text.substr(0, 27), "Generated 2 file(s) with na");
    }
  }
}

}  // namespace
