// Each step of reading the model and of writing a copy made to fail in turn, in a session
// on the stand-in, and each step of writing a fixed model in a texmint-cli fix session run in
// this process: what the user is told, and what is left on disk.
#include <gtest/gtest.h>

#include "cli_args.h"
#include "fix_command.h"
#include "front/host_files.h"
#include "frontends/frontends.h"

namespace {

enum Step { kOpen, kSize, k4G, kUnder4G, kAlloc, kRead, kCreate, kWrite, kClose, kMode, kRename };
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
    if (Fails(k4G)) return *size = std::uint64_t{1} << 32, true;
    if (Fails(kUnder4G)) return *size = (std::uint64_t{1} << 32) - 1, true;
    return !Fails(kSize) && system.sizeBySeeking(file, size);
  };
  // More than 1 GiB is more memory than the system has: no test takes that much.
  ops.allocate = [](std::size_t bytes) {
    return Fails(kAlloc) || bytes > 1u << 30 ? nullptr : system.allocate(bytes);
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
  ops.copyPermissions = [](const char* from, const char* to) {
    return !Fails(kMode) && system.copyPermissions(from, to);
  };
  ops.replaceFile = [](const char* from, const char* to) {
    return !Fails(kRename) && system.replaceFile(from, to);
  };
  return ops;
}

constexpr char kLoad[] = R"(
have barrel.nif = model textures\old.dds
have tex/a.dds
press Select NIF, choose barrel.nif
press Select NIF, choose barrel.nif
  message error "Texmint Error": TOLD
expect path box:
expect texture list:
press Select Textures, choose tex/a.dds
expect Create NIFs: disabled
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

// fix --in-place: the second model's new file fails; the model stays as it was.
constexpr char kFixInPlace[] = R"(
have Data/Textures/mod/a.dds
have one.nif two.nif = model a.dds
run texmint-cli fix --data {Data} --in-place {one.nif} {two.nif}
  stdout: ...
  stderr: {two.nif}: TOLD
  exit 1
expect one.nif = one.nif with ref 0 naming textures\mod\a.dds
expect two.nif unchanged
expect files: Data/ one.nif two.nif
)";

TEST(FileFaults, EachFailedStepIsToldAndLosesNothing) {
  const std::pair<Step, std::string> cases[] = {
      {kOpen, "Cannot open file"},
      {kSize, "Cannot open file"},
      {k4G, "Cannot load file: models of 4 GiB or more are not supported"},
      {kUnder4G, "Cannot load file: not enough memory"},
      {kAlloc, "Cannot load file: not enough memory"},
      {kRead, "Cannot load file: it could not be read whole"},
      {kCreate, "Cannot create file"},
      {kWrite, "Cannot write file"},
      {kClose, "Cannot write file"},
      {kRename, "Cannot create file"},
      {kCreate, "cannot create the fixed model"},
      {kWrite, "cannot write the fixed model"},
      {kClose, "cannot write the fixed model"},
      {kMode, "cannot write the fixed model"},
      {kRename, "cannot create the fixed model"},
  };
  const FileOps faulty = FaultyOps();
  g_cliInProcess = [](std::span<const char* const> args) {
    std::string error;
    return RunFix(ParseCliArgs(args).args, error);
  };
  for (const auto& [step, told] : cases) {
    SCOPED_TRACE(told);
    const bool fix = std::islower(told[0]);  // the dialog says it in its own words
    std::string session = fix ? kFixInPlace : step < kCreate ? kLoad : kCopies;
    session.replace(session.find("TOLD"), 4, told);
    g_failing = step, g_opens = 0, g_creates = 0;
    g_fileOps = &faulty;
    EXPECT_EQ(RunNativeSessions(ReadScenario(session, "file faults"), fix, "file-faults"), 0);
    g_fileOps = &SystemFileOps();
  }
  g_cliInProcess = nullptr;
}

}  // namespace
