// The benchmark cases. Each Register* function adds its benchmarks and the checks that
// compare them with their baselines.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>
#include <vector>

struct BenchOptions {
  bool smoke = false;  // one iteration of each case, small sizes
  std::string folder;  // where the model file and the copies are written
  std::vector<std::size_t> scanSizes;
  std::size_t loadSize = 0;
  std::size_t writeModelSize = 0;
  unsigned writeCopies = 0;
};

void RegisterScanBenchmarks(const BenchOptions& options);
void RegisterLoadBenchmarks(const BenchOptions& options);
void RegisterWriteBenchmarks(const BenchOptions& options);

// Applies the run's timing policy to a registered benchmark: real time, and one iteration in
// a smoke run or `fixedIterations` (when not 0) otherwise.
benchmark::internal::Benchmark* Configure(benchmark::internal::Benchmark* bench,
                                          const BenchOptions& options, int fixedIterations = 0);

// "12.3 ms", "850 us", ... and "12.3 GB/s".
std::string FormatSeconds(double seconds);
std::string FormatRate(double bytesPerSecond);
