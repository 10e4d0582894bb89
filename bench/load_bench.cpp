// LoadModel on a large model file against a plain read of the file into a new buffer,
// in time and in peak memory.
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>

#include "bench_cases.h"
#include "bench_images.h"
#include "bench_report.h"
#include "common/app_state.h"
#include "common/text.h"
#include "front/host_files.h"
#include "model/load_model.h"
#include "model/texture_scan.h"
#include "peak_memory.h"
#include "scratch_folder.h"

namespace {

struct ModelFile {
  std::filesystem::path path;
  std::size_t size = 0;
  bool ready = false;
};

// Written on first use, so that a filtered run does not pay for it.
const ModelFile& TheModelFile(const BenchOptions& options) {
  static ModelFile file;
  if (!file.ready) {
    const auto folder = MakeScratchFolder(options.folder);
    const Bytes image = MakeRealisticImage(options.loadSize);
    if (!folder.empty() && WriteWholeFile(folder / "model.nif", image.data(), image.size())) {
      file = {folder / "model.nif", image.size(), true};
    }
  }
  return file;
}

std::string LoadName(const char* what, const BenchOptions& o) {
  return std::string("load/") + what + "/" + SizeLabel(o.loadSize);
}

// Loads the model file the way the program does; 1 on success.
int LoadTheModel(const ModelFile& file) {
  g_fileOps = &SystemFileOps();
  CopyText(g_app.modelPath, file.path.string());
  return LoadModel();
}

// The baseline: what any loader has to do at least. Returns the buffer's first byte.
std::unique_ptr<std::uint8_t[]> PlainRead(const ModelFile& file, bool* ok) {
  const int fd = ::open(file.path.c_str(), O_RDONLY | O_CLOEXEC);
  const off_t size = fd < 0 ? -1 : ::lseek(fd, 0, SEEK_END);
  std::unique_ptr<std::uint8_t[]> buffer;
  *ok = false;
  if (size >= 0 && ::lseek(fd, 0, SEEK_SET) == 0) {
    buffer.reset(new std::uint8_t[static_cast<std::size_t>(size)]);
    *ok = ::read(fd, buffer.get(), static_cast<std::size_t>(size)) == size;
  }
  if (fd >= 0) ::close(fd);
  return buffer;
}

void RunLoadModel(benchmark::State& state, const BenchOptions& options) {
  const ModelFile& file = TheModelFile(options);
  if (!file.ready) {
    state.SkipWithError("cannot write the model file");
    return;
  }
  int loaded = 1;
  for (auto _ : state) {
    loaded &= LoadTheModel(file);
    state.PauseTiming();
    g_app.modelImage.reset();  // freeing is not part of loading
    state.ResumeTiming();
  }
  if (loaded != 1) {
    state.SkipWithError("LoadModel failed");
    return;
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size));

  if (const auto growth = PeakGrowthInChild([&file] { LoadTheModel(file); })) {
    RecordValue("load/peak/LoadModel", double(*growth));
    state.counters["peak_growth_MiB"] = double(*growth) / (1 << 20);
  }
}

void RunPlainRead(benchmark::State& state, const BenchOptions& options) {
  const ModelFile& file = TheModelFile(options);
  if (!file.ready) {
    state.SkipWithError("cannot write the model file");
    return;
  }
  bool ok = true;
  for (auto _ : state) {
    bool read = false;
    auto buffer = PlainRead(file, &read);
    ok &= read;
    benchmark::DoNotOptimize(buffer.get());
    state.PauseTiming();
    buffer.reset();
    state.ResumeTiming();
  }
  if (!ok) {
    state.SkipWithError("read failed");
    return;
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size));

  if (const auto growth = PeakGrowthInChild([&file] {
        bool read = false;
        auto buffer = PlainRead(file, &read);
        benchmark::DoNotOptimize(buffer.get());
      })) {
    RecordValue("load/peak/read", double(*growth));
    state.counters["peak_growth_MiB"] = double(*growth) / (1 << 20);
  }
}

// The scan alone over the loaded image, to show how LoadModel's time divides.
void RunScanOfLoaded(benchmark::State& state, const BenchOptions& options) {
  const ModelFile& file = TheModelFile(options);
  if (!file.ready || LoadTheModel(file) != 1) {
    state.SkipWithError("cannot load the model file");
    return;
  }
  static std::array<TextureRef, kMaxTextureRefs> table;
  for (auto _ : state) {
    auto result = ScanTextureRefs({g_app.modelImage.get(), g_app.modelSize}, table);
    benchmark::DoNotOptimize(result);
  }
  g_app.modelImage.reset();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size));
}

// One memchr pass over the same loaded image: the speed of memory for a single pass.
void RunMemchrOfLoaded(benchmark::State& state, const BenchOptions& options) {
  const ModelFile& file = TheModelFile(options);
  if (!file.ready || LoadTheModel(file) != 1) {
    state.SkipWithError("cannot load the model file");
    return;
  }
  const std::span<const std::uint8_t> image(g_app.modelImage.get(), g_app.modelSize);
  const int absent = AbsentByte(Bytes(image.begin(), image.end()));
  for (auto _ : state) {
    const void* hit = std::memchr(image.data(), absent, image.size());
    benchmark::DoNotOptimize(hit);
  }
  g_app.modelImage.reset();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size));
}

std::string Mib(double bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f MiB", bytes / (1 << 20));
  return text;
}

}  // namespace

void RegisterLoadBenchmarks(const BenchOptions& o) {
  Configure(benchmark::RegisterBenchmark(LoadName("LoadModel", o).c_str(), RunLoadModel, o), o, 10)
      ->Unit(benchmark::kMillisecond);
  Configure(benchmark::RegisterBenchmark(LoadName("read", o).c_str(), RunPlainRead, o), o, 10)
      ->Unit(benchmark::kMillisecond);
  Configure(benchmark::RegisterBenchmark(LoadName("scan-only", o).c_str(), RunScanOfLoaded, o), o,
            10)
      ->Unit(benchmark::kMillisecond);
  Configure(benchmark::RegisterBenchmark(LoadName("memchr-only", o).c_str(), RunMemchrOfLoaded, o),
            o, 10)
      ->Unit(benchmark::kMillisecond);

  const std::size_t size = o.loadSize;
  AddCheck("load " + SizeLabel(size) + " time", "<= 1.1x plain read",
           [o]() -> std::optional<CheckResult> {
             const auto load = MedianSeconds(LoadName("LoadModel", o));
             const auto read = MedianSeconds(LoadName("read", o));
             if (!load || !read) return std::nullopt;
             std::string detail =
                 "LoadModel " + FormatSeconds(*load) + ", read " + FormatSeconds(*read);
             char ratio[160];
             std::snprintf(ratio, sizeof ratio, ": %.2fx", *load / *read);
             detail += ratio;
             if (const auto scan = MedianSeconds(LoadName("scan-only", o))) {
               std::snprintf(ratio, sizeof ratio, " (its scan %s; without it %.2fx",
                             FormatSeconds(*scan).c_str(), (*load - *scan) / *read);
               detail += ratio;
               if (const auto pass = MedianSeconds(LoadName("memchr-only", o))) {
                 detail += "; one memchr pass " + FormatSeconds(*pass);
               }
               detail += ")";
             }
             return CheckResult{detail, MetIf(*load <= 1.1 * *read)};
           });
  AddCheck("load " + SizeLabel(size) + " peak memory", "<= file size + 4 MiB",
           [size]() -> std::optional<CheckResult> {
             const auto load = RecordedValue("load/peak/LoadModel");
             if (!load) return std::nullopt;
             std::string detail =
                 "LoadModel +" + Mib(*load) + " for a file of " + Mib(double(size));
             if (const auto read = RecordedValue("load/peak/read")) {
               detail += ", plain read +" + Mib(*read);
             }
             return CheckResult{detail, MetIf(*load <= double(size) + 4.0 * (1 << 20))};
           });
}
