// Each step of reading the model and of writing a copy made to fail in turn, in a session
// on the stand-in: what the user is told, and what is left on disk.
#include <gtest/gtest.h>

#include <fstream>

#include "front/host_files.h"
#include "frontends/frontends.h"

namespace {

enum Step { kOpen, kSize, kHuge, kNearlyHuge, kAllocate, kRead, kCreate, kWrite, kClose, kRename };
Step g_failing;
int g_opens = 0, g_creates = 0;

// The step fails in the second load of the model, or for the second copy.
bool Fails(Step step) {
  return step == g_failing && (step < kCreate ? g_opens : g_creates) == 2;
}

FileOps FaultyOps() {
  static const FileOps& system = SystemFileOps();
  FileOps ops = system;
  ops.openForReading = [](const char* path) {
    return ++g_opens, Fails(kOpen) ? kNoFile : system.openForReading(path);
  };
  ops.sizeBySeeking = [](FileHandle file, std::uint64_t* size) {
    if (Fails(kHuge)) return *size = std::uint64_t{1} << 32, true;
    if (Fails(kNearlyHuge)) return *size = (std::uint64_t{1} << 32) - 1, true;
    return !Fails(kSize) && system.sizeBySeeking(file, size);
  };
  // More than 1 GiB is more memory than the system has: no test takes that much.
  ops.allocate = [](std::size_t bytes) {
    return Fails(kAllocate) || bytes > 1u << 30 ? nullptr : system.allocate(bytes);
  };
  ops.readUpTo = [](FileHandle file, std::uint8_t* into, std::size_t count) {
    return system.readUpTo(file, into, Fails(kRead) ? count / 2 : count);
  };
  ops.createTempBeside = [](const char* path, char* temp, std::size_t capacity) {
    return ++g_creates, Fails(kCreate) ? kNoFile : system.createTempBeside(path, temp, capacity);
  };
  // A write that fails after its first pieces went through.
  ops.writePieces = [](FileHandle file, std::span<const std::span<const std::uint8_t>> pieces) {
    return system.writePieces(file, Fails(kWrite) ? pieces.first(2) : pieces) && !Fails(kWrite);
  };
  ops.closeFile = [](FileHandle file) { return system.closeFile(file) && !Fails(kClose); };
  ops.replaceFile = [](const char* from, const char* to) {
    return !Fails(kRename) && system.replaceFile(from, to);
  };
  return ops;
}

constexpr char kLoad[] = R"(
have barrel.nif = model textures\old.dds
have tex/a.dds
press Select NIF, choose barrel.nif
press Select Textures, choose tex/a.dds
press Select NIF, choose barrel.nif
  message error "Texmint Error": TOLD
expect path box:
expect texture list:
press Select Textures, choose tex/a.dds
expect Create NIFs: disabled
expect files: barrel.nif tex/
)";

constexpr char kCopies[] = R"(
have barrel.nif = model textures\old.dds
have barrel_02.nif = text an older copy
have tex/a.dds tex/b.dds tex/c.dds
press Select NIF, choose barrel.nif
press Select Textures, choose tex/a.dds tex/b.dds tex/c.dds
select row 0
press Create NIFs
  message error "Texmint Error": TOLD {barrel_02.nif} for texture b.dds
  message information "Texmint": Generated 2 file(s) with names:\n{barrel}_*.nif
expect barrel_01.nif = barrel.nif with ref 0 naming a.dds
expect barrel_02.nif unchanged
expect barrel_03.nif = barrel.nif with ref 0 naming c.dds
expect files: barrel.nif barrel_01.nif barrel_02.nif barrel_03.nif tex/
)";

TEST(FileFaults, EachFailedStepIsToldAndLosesNothing) {
  const std::pair<Step, std::string> cases[] = {
      {kOpen, "Cannot open file"},
      {kSize, "Cannot open file"},
      {kHuge, "Cannot load file: models of 4 GiB or more are not supported"},
      {kNearlyHuge, "Cannot load file: not enough memory"},
      {kAllocate, "Cannot load file: not enough memory"},
      {kRead, "Cannot load file: it could not be read whole"},
      {kCreate, "Cannot create file"},
      {kWrite, "Cannot write file"},
      {kClose, "Cannot write file"},
      {kRename, "Cannot create file"},
  };
  const FileOps faulty = FaultyOps();
  const fs::path file = fs::temp_directory_path() / "texmint-file-faults.scenario";
  for (const auto& [step, told] : cases) {
    SCOPED_TRACE(told);
    std::string session = step < kCreate ? kLoad : kCopies;
    std::ofstream(file) << session.replace(session.find("TOLD"), 4, told);
    g_failing = step, g_opens = 0, g_creates = 0;
    g_fileOps = &faulty;
    RunScenarioFile(file, false);
    g_fileOps = &SystemFileOps();
  }
  fs::remove(file);
}

}  // namespace
