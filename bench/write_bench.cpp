// CreateVariants writing many copies of a model against a plain loop that writes the
// same bytes to as many new files, one write call each.
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_cases.h"
#include "bench_images.h"
#include "bench_report.h"
#include "common/app_state.h"
#include "common/text.h"
#include "front/host_files.h"
#include "standin/ui_standin.h"
#include "model/texture_scan.h"
#include "scratch_folder.h"
#include "variants/variant_writer.h"

namespace {

constexpr int kAnswerNo = 7;  // IDNO

std::string WriteName(const char* what, const BenchOptions& o) {
  return std::string("write/") + what + "/" + std::to_string(o.writeCopies) + "x" +
         SizeLabel(o.writeModelSize);
}

std::filesystem::path TheFolder(const BenchOptions& options) {
  static const std::filesystem::path folder = MakeScratchFolder(options.folder);
  return folder;
}

// Puts the program in the state it has when the user presses Create NIFs: a model loaded,
// the replacements chosen, the first texture row selected. False if that fails.
bool PrepareSession(const BenchOptions& o, const std::filesystem::path& folder) {
  static const Bytes image = MakeRealisticImage(o.writeModelSize);
  ResetAppState();
  g_fileOps = &SystemFileOps();
  if (!CopyText(g_app.modelPath, (folder / "model.nif").string())) return false;
  g_app.modelImage.reset(new std::uint8_t[image.size() + kImageSlack]);
  std::copy(image.begin(), image.end(), g_app.modelImage.get());
  g_app.modelSize = static_cast<std::uint32_t>(image.size());
  const ScanResult scan = ScanTextureRefs(image, g_app.refs);
  g_app.refCount = scan.refCount;
  if (scan.status != ScanStatus::kFound) return false;
  for (unsigned i = 0; i < o.writeCopies && i < kMaxReplacements; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "tx_bench_%04u.dds", i + 1);
    CopyText(g_app.replacements[i].name, name);
  }
  g_app.replacementCount = std::min<unsigned>(o.writeCopies, kMaxReplacements);
  return true;
}

// A fresh dialog state for one command: row 0 selected, the suffix question answered No.
void PrepareCommand() {
  TheStandin() = Standin{};
  StandinSelectRow(kTextureList, 0);
  TheStandin().messageBoxAnswers.push_back(kAnswerNo);
}

bool AllWritten(unsigned copies) {
  const auto& boxes = TheStandin().messageBoxes;
  const std::string expected = "Generated " + std::to_string(copies) + " file(s)";
  return !boxes.empty() && boxes.back().text.rfind(expected, 0) == 0;
}

// The baseline's work: the bytes of one copy laid out in one buffer, so that each file
// takes one write, and the names of as many new files.
struct PlainWrites {
  Bytes copy;
  std::vector<std::string> paths;
};

PlainWrites MakePlainWrites(const BenchOptions& o, const std::filesystem::path& folder) {
  PlainWrites plain;
  VariantPieces variant;
  const PathEdit edit{g_app.refs[0].lengthOffset, g_app.refs[0].tailOffset,
                      g_app.replacements[0].name};
  BuildVariantPieces({g_app.modelImage.get(), g_app.modelSize}, {&edit, 1}, variant);
  for (const auto& piece : variant.pieces) {
    plain.copy.insert(plain.copy.end(), piece.begin(), piece.end());
  }
  for (unsigned i = 0; i < o.writeCopies; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "plain_%04u.nif", i + 1);
    plain.paths.push_back((folder / name).string());
  }
  return plain;
}

bool WritePlain(const PlainWrites& plain) {
  bool ok = true;
  for (const std::string& path : plain.paths) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    ok &=
        fd >= 0 && ::write(fd, plain.copy.data(), plain.copy.size()) == ssize_t(plain.copy.size());
    ok &= fd >= 0 && ::close(fd) == 0;
  }
  return ok;
}

// Both sides in every iteration, in alternating order, each into an emptied folder: the
// state of the file system drifts while gigabytes are written and removed, and pairing
// the two keeps that drift out of their ratio.
void RunWritePair(benchmark::State& state, const BenchOptions& o) {
  using Clock = std::chrono::steady_clock;
  const auto folder = TheFolder(o);
  if (folder.empty() || !PrepareSession(o, folder)) {
    state.SkipWithError("cannot set up the session");
    return;
  }
  const PlainWrites plain = MakePlainWrites(o, folder);
  bool ok = true;
  bool commandFirst = true;
  for (auto _ : state) {
    double both = 0;
    for (const bool command : {commandFirst, !commandFirst}) {
      EmptyFolder(folder);
      PrepareCommand();
      const auto start = Clock::now();
      if (command) {
        CreateVariants();
      } else {
        ok &= WritePlain(plain);
      }
      const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
      if (command) ok &= AllWritten(o.writeCopies);
      RecordValue(command ? "write/CreateVariants" : "write/plain", seconds);
      both += seconds;
    }
    commandFirst = !commandFirst;
    state.SetIterationTime(both);
  }
  EmptyFolder(folder);
  if (!ok) {
    state.SkipWithError("a copy was not written");
    return;
  }
  state.SetBytesProcessed(
      static_cast<std::int64_t>(state.iterations() * 2 * o.writeCopies * o.writeModelSize));
  state.counters["CreateVariants_ms"] = *RecordedValue("write/CreateVariants") * 1e3;
  state.counters["plain_ms"] = *RecordedValue("write/plain") * 1e3;
}

}  // namespace

void RegisterWriteBenchmarks(const BenchOptions& o) {
  benchmark::RegisterBenchmark(WriteName("CreateVariants+plain", o).c_str(), RunWritePair, o)
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond)
      ->Iterations(o.smoke ? 1 : 5);

  AddCheck("write " + std::to_string(o.writeCopies) + " x " + SizeLabel(o.writeModelSize),
           "<= 1.25x plain writes", []() -> std::optional<CheckResult> {
             const auto create = RecordedValue("write/CreateVariants");
             const auto plain = RecordedValue("write/plain");
             if (!create || !plain) return std::nullopt;
             char detail[160];
             std::snprintf(detail, sizeof detail, "CreateVariants %s, plain %s: %.2fx",
                           FormatSeconds(*create).c_str(), FormatSeconds(*plain).c_str(),
                           *create / *plain);
             return CheckResult{detail, MetIf(*create <= 1.25 * *plain)};
           });
}
