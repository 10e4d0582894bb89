// Each step of reading the model and of writing a copy made to fail in turn: what the user
// is told, and what is left on disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "common/app_state.h"
#include "front/host_files.h"
#include "front/main_dialog.h"
#include "front/ui_standin.h"
#include "interpreter/model_bytes.h"
#include "interpreter/scenario.h"

namespace {

enum class Step { kOpen, kSize, kAllocate, kRead, kCreate, kWrite, kClose, kRename };

// Fails `step` once `calls` of it went through (for copies: of the second copy), and
// passes everything else to the system.
struct Faults {
  static inline Step step;
  static inline int creates = 0;
  static bool Now(Step s) { return step == s && (s < Step::kCreate || creates == 2); }

  static FileHandle Open(const char* path) {
    return Now(Step::kOpen) ? kNoFile : SystemFileOps().openForReading(path);
  }
  static bool Size(FileHandle file, std::uint64_t* size) {
    return !Now(Step::kSize) && SystemFileOps().sizeBySeeking(file, size);
  }
  static std::uint8_t* Allocate(std::size_t bytes) {
    return Now(Step::kAllocate) ? nullptr : AllocateBytes(bytes);
  }
  static std::size_t Read(FileHandle file, std::uint8_t* into, std::size_t count) {
    return SystemFileOps().readUpTo(file, into, Now(Step::kRead) ? count / 2 : count);
  }
  static FileHandle CreateTemp(const char* path, char* temp, std::size_t capacity) {
    ++creates;
    return Now(Step::kCreate) ? kNoFile : SystemFileOps().createTempBeside(path, temp, capacity);
  }
  static bool Write(FileHandle file, std::span<const std::span<const std::uint8_t>> pieces) {
    // A write that fails after the first pieces arrived.
    return SystemFileOps().writePieces(file, Now(Step::kWrite) ? pieces.first(2) : pieces) &&
           !Now(Step::kWrite);
  }
  static bool Close(FileHandle file) { return SystemFileOps().closeFile(file) && !Now(Step::kClose); }
  static bool Rename(const char* from, const char* to) {
    return !Now(Step::kRename) && SystemFileOps().replaceFile(from, to);
  }
};

FileOps FaultyOps() {
  FileOps ops = SystemFileOps();
  ops.openForReading = Faults::Open;
  ops.sizeBySeeking = Faults::Size;
  ops.allocate = Faults::Allocate;
  ops.readUpTo = Faults::Read;
  ops.createTempBeside = Faults::CreateTemp;
  ops.writePieces = Faults::Write;
  ops.closeFile = Faults::Close;
  ops.replaceFile = Faults::Rename;
  return ops;
}

void Press(int button) {
  MainDialogProc(g_app.hwndMain, kMsgCommand, std::uintptr_t(button), 0);
}

TEST(FileFaults, EachFailedStepIsToldAndLosesNothing) {
  const struct {
    Step step;
    const char* told;  // followed, for a copy, by its path and texture
  } cases[] = {
      {Step::kOpen, "Cannot open file"},
      {Step::kSize, "Cannot open file"},
      {Step::kAllocate, "Cannot load file: not enough memory"},
      {Step::kRead, "Cannot load file: it could not be read whole"},
      {Step::kCreate, "Cannot create file "},
      {Step::kWrite, "Cannot write file "},
      {Step::kClose, "Cannot write file "},
      {Step::kRename, "Cannot create file "},
  };
  const std::string model = ModelNaming({"textures\\old.dds"});
  const RefSpan ref = ReferenceScan(model)[0];
  const FileOps faulty = FaultyOps();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.told);
    const fs::path dir = fs::temp_directory_path() / "texmint-faults";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string path = (dir / "barrel.nif").string(), second = (dir / "barrel_02.nif").string();
    std::ofstream(path, std::ios::binary) << model;
    std::ofstream(second, std::ios::binary) << "an older copy";
    ResetAppState();
    StandinOpenDialog();
    Standin& s = TheStandin();
    s.fileDialogAnswers = {ChooseSeveralFiles("/t", {"a.dds", "b.dds", "c.dds"}), ChooseOneFile(path)};
    Press(kSelectTexturesButton);
    Press(kSelectNifButton);  // a model loaded, which a failed load must not leave behind
    StandinSelectRow(kTextureList, 0);
    Faults::step = c.step;
    Faults::creates = 0;
    g_fileOps = &faulty;
    if (c.step < Step::kCreate) {
      s.fileDialogAnswers = {ChooseOneFile(path)};
      Press(kSelectNifButton);
    } else {
      Press(kCreateNifsButton);
    }
    g_fileOps = &SystemFileOps();

    std::vector<std::string> told;
    for (const auto& box : s.messageBoxes) told.push_back(box.text);
    std::vector<std::string> files = {"barrel.nif", "barrel_02.nif"};
    if (c.step < Step::kCreate) {
      EXPECT_EQ(told, std::vector<std::string>{c.told});
      EXPECT_EQ(s.boxes[kPathBox], "");
      EXPECT_EQ(g_app.refCount, 0u);
      EXPECT_FALSE(g_app.modelImage);
    } else {
      const std::string generated = "Generated 2 file(s) with names:\n" + (dir / "barrel").string() + "_*.nif";
      EXPECT_EQ(told, (std::vector<std::string>{c.told + second + " for texture b.dds", generated}));
      EXPECT_EQ(ReadFileBytes(dir / "barrel_01.nif"), Replaced(model, {{ref, "a.dds"}}));
      EXPECT_EQ(ReadFileBytes(dir / "barrel_03.nif"), Replaced(model, {{ref, "c.dds"}}));
      files = {"barrel.nif", "barrel_01.nif", "barrel_02.nif", "barrel_03.nif"};
    }
    // No temporary file stays, and the older copy is whole.
    std::vector<std::string> seen;
    for (const auto& entry : fs::directory_iterator(dir)) seen.push_back(entry.path().filename().string());
    std::ranges::sort(seen);
    EXPECT_EQ(seen, files);
    EXPECT_EQ(ReadFileBytes(second), "an older copy");
    fs::remove_all(dir);
  }
}

}  // namespace
