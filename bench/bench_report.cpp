#include "bench_report.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include <unistd.h>

namespace {

struct NamedCheck {
  std::string title;
  std::string target;
  Check check;
};

std::vector<NamedCheck>& Checks() {
  static std::vector<NamedCheck> checks;
  return checks;
}

// Seconds per iteration of every repetition, by benchmark name.
std::map<std::string, std::vector<double>>& Times() {
  static std::map<std::string, std::vector<double>> times;
  return times;
}

bool g_anyFailed = false;

std::map<std::string, std::vector<double>>& Values() {
  static std::map<std::string, std::vector<double>> values;
  return values;
}

double Median(std::vector<double> values) {
  std::ranges::sort(values);
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

}  // namespace

void AddCheck(std::string title, std::string target, Check check) {
  Checks().push_back({std::move(title), std::move(target), std::move(check)});
}

std::optional<double> MedianSeconds(const std::string& benchmarkName) {
  const auto it = Times().find(benchmarkName);
  if (it == Times().end() || it->second.empty()) return std::nullopt;
  return Median(it->second);
}

void RecordValue(const std::string& key, double value) {
  Values()[key].push_back(value);
}

std::optional<double> RecordedValue(const std::string& key) {
  const auto it = Values().find(key);
  if (it == Values().end() || it->second.empty()) return std::nullopt;
  return Median(it->second);
}

RecordingReporter::RecordingReporter() : ConsoleReporter(isatty(1) ? OO_Color : OO_None) {}

void RecordingReporter::ReportRuns(const std::vector<Run>& runs) {
  for (const Run& run : runs) {
    if (run.error_occurred) {
      g_anyFailed = true;
      std::fprintf(stderr, "error in %s: %s\n", run.benchmark_name().c_str(),
                   run.error_message.c_str());
    }
    if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0) continue;
    Times()[run.run_name.function_name].push_back(run.real_accumulated_time /
                                                  static_cast<double>(run.iterations));
  }
  ConsoleReporter::ReportRuns(runs);
}

void PrintChecks(bool smoke) {
  std::printf("\nMeasurements against their baselines%s:\n",
              smoke ? " (smoke run: small sizes, one iteration; the figures mean nothing)" : "");
  int shown = 0;
  for (const NamedCheck& c : Checks()) {
    const std::optional<CheckResult> result = c.check();
    if (!result) continue;
    ++shown;
    const char* verdict = result->verdict == Verdict::kInfo  ? "for reference"
                          : smoke                            ? "(not judged)"
                          : result->verdict == Verdict::kMet ? "met"
                                                             : "MISSED";
    std::printf("  %-30s %s  [target: %s] %s\n", c.title.c_str(), result->detail.c_str(),
                c.target.c_str(), verdict);
  }
  if (shown == 0) std::printf("  (none: the benchmarks they need did not run)\n");
  std::fflush(stdout);
}

bool AnyBenchmarkFailed() {
  return g_anyFailed;
}
