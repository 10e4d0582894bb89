// The texture scan over generated images against one memchr pass over the same bytes.
#include <array>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>

#include "bench_cases.h"
#include "bench_images.h"
#include "bench_report.h"
#include "model/texture_scan.h"

namespace {

struct Prepared {
  Bytes image;
  int absent;
};

// Images are made once, on first use, and kept for the whole run.
const Prepared& ImageFor(const ScanContent& content, std::size_t size) {
  static std::map<std::pair<std::string, std::size_t>, std::unique_ptr<Prepared>> images;
  auto& slot = images[{content.name, size}];
  if (!slot) {
    Bytes image = content.make(size);
    const int absent = AbsentByte(image);
    slot = std::make_unique<Prepared>(Prepared{std::move(image), absent});
  }
  return *slot;
}

std::string ScanName(const ScanContent& c, std::size_t size) {
  return std::string("scan/") + c.name + "/" + SizeLabel(size);
}
std::string MemchrName(const ScanContent& c, std::size_t size) {
  return std::string("memchr/") + c.name + "/" + SizeLabel(size);
}

void RunScan(benchmark::State& state, const ScanContent& content, std::size_t size) {
  const Prepared& prepared = ImageFor(content, size);
  static std::array<TextureRef, kMaxTextureRefs> table;
  ScanResult result{};
  for (auto _ : state) {
    result = ScanTextureRefs(prepared.image, table);
    benchmark::DoNotOptimize(result);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
  state.counters["refs"] = result.refCount;
  state.counters["N_per_MiB"] = NPerByte(prepared.image) * (1 << 20);
}

void RunMemchr(benchmark::State& state, const ScanContent& content, std::size_t size) {
  const Prepared& prepared = ImageFor(content, size);
  if (prepared.absent < 0) {
    state.SkipWithError("every byte value occurs in the image");
    return;
  }
  for (auto _ : state) {
    const void* hit = std::memchr(prepared.image.data(), prepared.absent, prepared.image.size());
    benchmark::DoNotOptimize(hit);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

std::string Fixed(double value, const char* suffix) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f%s", value, suffix);
  return text;
}

void AddThroughputCheck(const ScanContent& c, std::size_t size) {
  AddCheck("scan " + std::string(c.name) + " " + SizeLabel(size), ">= 0.8x memchr throughput",
           [&c, size]() -> std::optional<CheckResult> {
             const auto scan = MedianSeconds(ScanName(c, size));
             const auto base = MedianSeconds(MemchrName(c, size));
             if (!scan || !base) return std::nullopt;
             const double ratio = *base / *scan;
             return CheckResult{"scan " + FormatRate(double(size) / *scan) + ", memchr " +
                                    FormatRate(double(size) / *base) + ": " +
                                    Fixed(ratio, "x memchr's throughput"),
                                MetIf(ratio >= 0.8)};
           });
}

void AddTimeCheck(const ScanContent& c, std::size_t size, bool hasTarget) {
  AddCheck("scan " + std::string(c.name) + " " + SizeLabel(size),
           hasTarget ? "<= 10x memchr time" : "none",
           [&c, size, hasTarget]() -> std::optional<CheckResult> {
             const auto scan = MedianSeconds(ScanName(c, size));
             const auto base = MedianSeconds(MemchrName(c, size));
             if (!scan || !base) return std::nullopt;
             const double ratio = *scan / *base;
             return CheckResult{"scan " + FormatSeconds(*scan) + " (" +
                                    FormatRate(double(size) / *scan) + "), memchr " +
                                    FormatSeconds(*base) + ": " + Fixed(ratio, "x memchr's time"),
                                hasTarget ? MetIf(ratio <= 10) : Verdict::kInfo};
           });
}

// Linear in size: from the smallest to the largest image the scan's time grows by about
// the same factor as memchr's (which is linear by construction; caches bend both alike).
void AddLinearityCheck(const ScanContent& c, std::size_t small, std::size_t large, bool hasTarget) {
  AddCheck("scan " + std::string(c.name) + " growth", hasTarget ? "linear" : "none",
           [&c, small, large, hasTarget]() -> std::optional<CheckResult> {
             const auto scanSmall = MedianSeconds(ScanName(c, small));
             const auto scanLarge = MedianSeconds(ScanName(c, large));
             const auto baseSmall = MedianSeconds(MemchrName(c, small));
             const auto baseLarge = MedianSeconds(MemchrName(c, large));
             if (!scanSmall || !scanLarge || !baseSmall || !baseLarge) return std::nullopt;
             const double scanGrowth = *scanLarge / *scanSmall;
             const double baseGrowth = *baseLarge / *baseSmall;
             return CheckResult{SizeLabel(small) + " -> " + SizeLabel(large) + " (" +
                                    Fixed(double(large) / double(small), "x bytes") +
                                    "): scan time " + Fixed(scanGrowth, "x") + ", memchr time " +
                                    Fixed(baseGrowth, "x"),
                                hasTarget ? MetIf(scanGrowth <= 2 * baseGrowth) : Verdict::kInfo};
           });
}

}  // namespace

void RegisterScanBenchmarks(const BenchOptions& options) {
  for (const ScanContent& c : kScanContents) {
    for (const std::size_t size : options.scanSizes) {
      Configure(
          benchmark::RegisterBenchmark(ScanName(c, size).c_str(), RunScan, std::cref(c), size),
          options);
      Configure(
          benchmark::RegisterBenchmark(MemchrName(c, size).c_str(), RunMemchr, std::cref(c), size),
          options);
      if (c.kind == ScanContentKind::kRealistic) {
        AddThroughputCheck(c, size);
      } else {
        AddTimeCheck(c, size, c.kind == ScanContentKind::kAdversarial);
      }
    }
    if (c.kind != ScanContentKind::kRealistic && options.scanSizes.size() >= 2) {
      AddLinearityCheck(c, options.scanSizes.front(), options.scanSizes.back(),
                        c.kind == ScanContentKind::kAdversarial);
    }
  }
}
