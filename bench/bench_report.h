// Collects the benchmark results and, after the run, prints each measurement beside its
// baseline with the ratio and whether the target is met.
#pragma once

#include <benchmark/benchmark.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

enum class Verdict { kMet, kMissed, kInfo };

struct CheckResult {
  std::string detail;  // the figures and the ratio
  Verdict verdict;
};

inline Verdict MetIf(bool met) {
  return met ? Verdict::kMet : Verdict::kMissed;
}

// Evaluated after the run; nullopt when the benchmarks it needs did not run (filtered).
using Check = std::function<std::optional<CheckResult>()>;

void AddCheck(std::string title, std::string target, Check check);

// Median real time per iteration of a benchmark over its repetitions, in seconds, by the
// name it was registered with.
std::optional<double> MedianSeconds(const std::string& benchmarkName);

// Values measured by the benchmarks themselves (peak memory, paired timings): each call
// adds a sample; the median of a key's samples is read back.
void RecordValue(const std::string& key, double value);
std::optional<double> RecordedValue(const std::string& key);

// The console reporter, also keeping every run for the checks and noting errors. Google Benchmark
// takes its results only through a reporter object, hence the one derived class.
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  RecordingReporter();  // colours only on a terminal
  void ReportRuns(const std::vector<Run>& runs) override;
};

void PrintChecks(bool smoke);

// True when a benchmark stopped with an error (its setup or its work failed).
bool AnyBenchmarkFailed();
