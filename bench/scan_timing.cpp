// Times the texture scan on the benchmark's scan cases beside one memchr pass over the same
// bytes. Plain C++ with no library beyond the standard one, so that it builds for Windows
// too: the 32-bit and the 64-bit build can then be run side by side under one Wine
// (bench/compare-windows-scan.sh).
//
//   texmint_scan_timing [--smoke] [--searches LIST] [--samples N]
//
// LIST names the searches to time, comma-separated: auto (what the program uses on this
// processor), bytes (what it uses on a processor without SSE2), vector. Default: auto.
// Each case is timed in N samples (default 31) of at least 2 ms each, and the fastest
// sample's time per scan is printed, one line per case and search:
//
//   RESULT<TAB>content<TAB>size<TAB>search<TAB>scan seconds<TAB>memchr seconds<TAB>references
//
// The fastest, not the median: on a machine shared with other work a sample can only be
// slowed down by it, and short samples often run undisturbed. The median follows as a
// comment line.
//
// --smoke scans small images once, only to show that the program works: not a measurement.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "bench_images.h"
#include "model/texture_scan.h"
#include "model/type_name_search.h"

namespace {

constexpr std::size_t kMiB = std::size_t{1} << 20;

struct Search {
  std::string name;
  TypeNameSearch search;
};

struct Options {
  bool smoke = false;
  int samples = 31;
  std::vector<Search> searches;
};

int Usage() {
  std::fprintf(stderr,
               "usage: texmint_scan_timing [--smoke] [--searches auto,bytes,vector] "
               "[--samples N]\n");
  return 2;
}

bool ParseSearches(std::string_view list, std::vector<Search>& out, TypeNameSearch automatic) {
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    const std::string_view name = list.substr(0, comma);
    if (name == "auto") {
      out.push_back({"auto", automatic});
    } else if (name == "bytes") {
      out.push_back({"bytes", TypeNameSearch::kBytes});
    } else if (name == "vector") {
      out.push_back({"vector", TypeNameSearch::kVector});
    } else {
      return false;
    }
    list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
  }
  return !out.empty();
}

// Volatile sinks keep the compiler from dropping the timed work.
volatile std::uint32_t g_refSink;
const void* volatile g_hitSink;

using Clock = std::chrono::steady_clock;

struct Timing {
  double fastest;  // seconds per call in the fastest sample
  double median;
};

// Seconds per call of `run`, each sample repeating it for at least `minSample`.
template <typename Run>
Timing TimeCalls(Run run, int samples, Clock::duration minSample) {
  // Calibrate: the number of calls that fills one sample.
  long calls = 1;
  for (;;) {
    const auto start = Clock::now();
    for (long i = 0; i < calls; ++i) run();
    if (Clock::now() - start >= minSample || calls >= (1L << 24)) break;
    calls *= 2;
  }
  std::vector<double> perCall;
  for (int s = 0; s < samples; ++s) {
    const auto start = Clock::now();
    for (long i = 0; i < calls; ++i) run();
    const std::chrono::duration<double> took = Clock::now() - start;
    perCall.push_back(took.count() / double(calls));
  }
  std::sort(perCall.begin(), perCall.end());
  return {perCall.front(), perCall[perCall.size() / 2]};
}

std::string Rate(std::size_t bytes, double seconds) {
  if (seconds <= 0) return "-";
  char text[32];
  std::snprintf(text, sizeof text, "%.2f GB/s", double(bytes) / seconds / 1e9);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const TypeNameSearch automatic = BestTypeNameSearch();
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--smoke") {
      options.smoke = true;
    } else if (arg == "--searches" && i + 1 < argc) {
      if (!ParseSearches(argv[++i], options.searches, automatic)) return Usage();
    } else if (arg == "--samples" && i + 1 < argc) {
      options.samples = std::max(1, std::atoi(argv[++i]));
    } else {
      return Usage();
    }
  }
  if (options.searches.empty()) options.searches.push_back({"auto", automatic});

  const std::vector<std::size_t> sizes = options.smoke ? std::vector<std::size_t>{64 * 1024}
                                                       : std::vector<std::size_t>{kMiB, 64 * kMiB};
  const int samples = options.smoke ? 1 : options.samples;
  const auto minSample =
      options.smoke ? Clock::duration::zero() : Clock::duration(std::chrono::milliseconds(2));

  std::printf("# texmint_scan_timing: %d-bit build, auto search here: %s%s\n",
              int(sizeof(void*) * 8), automatic == TypeNameSearch::kVector ? "vector" : "bytes",
              options.smoke ? " (smoke run: not a measurement)" : "");
  std::fflush(stdout);

  static std::array<TextureRef, kMaxTextureRefs> table;
  int status = 0;
  for (const ScanContent& content : kScanContents) {
    for (const std::size_t size : sizes) {
      const Bytes image = content.make(size);
      const int absent = AbsentByte(image);
      for (const Search& search : options.searches) {
        if (search.search == TypeNameSearch::kVector && automatic != TypeNameSearch::kVector) {
          std::fprintf(stderr, "the %s search cannot run on this processor\n", search.name.c_str());
          return 1;
        }
        ScanResult result{};
        const Timing scan = TimeCalls(
            [&] {
              // "auto" is the scan itself; a search named is timed over the image alone.
              if (search.name == "auto") {
                result = ScanTextureRefs(image, table);
              } else {
                result = {ScanStatus::kNoReferences, 0, false};
                for (std::size_t at = FindTextureTypeNameWith(search.search, image, 22);
                     at < image.size();
                     at = FindTextureTypeNameWith(search.search, image, at + kTextureTypeName.size())) {
                  ++result.refCount;
                }
              }
              g_refSink = result.refCount;
            },
            samples, minSample);
        Timing base{0, 0};
        if (absent >= 0) {
          base = TimeCalls([&] { g_hitSink = std::memchr(image.data(), absent, image.size()); },
                           samples, minSample);
        }
        std::printf("RESULT\t%s\t%s\t%s\t%.9f\t%.9f\t%u\n", content.name, SizeLabel(size).c_str(),
                    search.name.c_str(), scan.fastest, base.fastest, result.refCount);
        std::printf("# %-9s %-6s %-6s scan %s (median %s), memchr %s (median %s)\n", content.name,
                    SizeLabel(size).c_str(), search.name.c_str(), Rate(size, scan.fastest).c_str(),
                    Rate(size, scan.median).c_str(), Rate(size, base.fastest).c_str(),
                    Rate(size, base.median).c_str());
        std::fflush(stdout);
        // Every image starts with the header; a scan that says otherwise is broken.
        if (result.status == ScanStatus::kNotNetImmerse) status = 1;
      }
    }
  }
  return status;
}
