// The benchmark program: the texture scan, loading a large model and writing many copies,
// each beside its physical baseline, followed by the ratios against the targets.
//
//   texmint_bench [--texmint_smoke] [--texmint_dir=FOLDER] [Google Benchmark flags]
//
// --texmint_smoke runs every case once on small sizes, so that the benchmark is known to
// work; its figures are not measurements. FOLDER (default: $TMPDIR or /tmp) receives the
// model file and the copies, and is cleaned up afterwards.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string_view>

#include "bench_cases.h"
#include "bench_images.h"
#include "bench_report.h"
#include "scratch_folder.h"

namespace {

constexpr std::size_t kKiB = 1024;
constexpr std::size_t kMiB = 1024 * kKiB;

BenchOptions OptionsFrom(int* argc, char** argv) {
  BenchOptions o;
  const char* tmp = std::getenv("TMPDIR");
  o.folder = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
  int kept = 1;
  for (int i = 1; i < *argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--texmint_smoke") {
      o.smoke = true;
    } else if (arg.rfind("--texmint_dir=", 0) == 0) {
      o.folder = arg.substr(std::strlen("--texmint_dir="));
    } else {
      argv[kept++] = argv[i];
    }
  }
  *argc = kept;
  if (o.smoke) {
    o.scanSizes = {64 * kKiB, 1 * kMiB};
    o.loadSize = 1 * kMiB;
    o.writeModelSize = 64 * kKiB;
    o.writeCopies = 10;
  } else {
    o.scanSizes = {1 * kMiB, 64 * kMiB};
    o.loadSize = 256 * kMiB;
    o.writeModelSize = 1 * kMiB;
    o.writeCopies = 1000;
  }
  return o;
}

// The share of "N" in the real model the realistic images imitate, if it is at hand.
void PrintFixtureStatistics() {
#ifdef TEXMINT_FIXTURES_DIR
  std::ifstream in(TEXMINT_FIXTURES_DIR "/morrowind_mossyrock.nif", std::ios::binary);
  const Bytes fixture{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (!fixture.empty()) {
    std::printf(
        "morrowind_mossyrock.nif: one \"N\" per %.0f bytes; generated realistic images: "
        "one per %.0f bytes\n",
        1.0 / NPerByte(fixture), 1.0 / kRealNPerByte);
  }
#endif
}

}  // namespace

benchmark::internal::Benchmark* Configure(benchmark::internal::Benchmark* bench,
                                          const BenchOptions& options, int fixedIterations) {
  bench->UseRealTime()->Unit(benchmark::kMicrosecond);
  if (options.smoke) {
    bench->Iterations(1);
  } else if (fixedIterations > 0) {
    bench->Iterations(fixedIterations);
  }
  return bench;
}

std::string FormatSeconds(double seconds) {
  char text[32];
  if (seconds >= 1) {
    std::snprintf(text, sizeof text, "%.3f s", seconds);
  } else if (seconds >= 1e-3) {
    std::snprintf(text, sizeof text, "%.2f ms", seconds * 1e3);
  } else {
    std::snprintf(text, sizeof text, "%.1f us", seconds * 1e6);
  }
  return text;
}

std::string FormatRate(double bytesPerSecond) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f GB/s", bytesPerSecond / 1e9);
  return text;
}

int main(int argc, char** argv) {
  const BenchOptions options = OptionsFrom(&argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;

  RegisterScanBenchmarks(options);
  RegisterLoadBenchmarks(options);
  RegisterWriteBenchmarks(options);

  PrintFixtureStatistics();
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  PrintChecks(options.smoke);
  RemoveScratchFolders();
  benchmark::Shutdown();
  return AnyBenchmarkFailed() ? 1 : 0;
}
