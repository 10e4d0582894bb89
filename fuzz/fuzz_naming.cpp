// Arbitrary model paths and replacement name lists through the naming: the base path,
// the suffix start and the output names of both kinds.
//
// Input: lines separated by "\n". The first line is the model path, every other line a
// replacement name. When the first byte is odd the names are sorted as the texture
// dialog's list sorts them; otherwise they keep the input's order.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "common/app_state.h"
#include "common/text.h"
#include "fuzz_check.h"
#include "variants/naming.h"
#include "variants/replacement_list.h"

namespace {

// Enough to reach every rule; the list's full capacity only makes runs slower.
constexpr std::size_t kMaxNames = 256;

std::vector<std::string_view> SplitLines(std::string_view input) {
  std::vector<std::string_view> lines;
  while (!input.empty() || lines.empty()) {
    const auto end = input.find('\n');
    lines.push_back(input.substr(0, end));
    if (end == std::string_view::npos) break;
    input.remove_prefix(end + 1);
  }
  return lines;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = FoldToLower(c);
  return lower;
}

void CheckBasePath(std::string_view modelPath) {
  const std::string base = MakeBasePath(modelPath);
  // The model path with the end of its file name cut off: the whole folder, then at most
  // 24 characters of the file name. A file name without "." and short enough stays whole.
  // (The native build separates folders with "/" only.)
  const auto slash = modelPath.rfind('/');
  const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
  const std::string_view name = modelPath.substr(nameStart);
  FUZZ_CHECK(modelPath.substr(0, base.size()) == base);
  FUZZ_CHECK(base.size() >= nameStart);
  FUZZ_CHECK(base.size() - nameStart <= 24);
  if (name.find('.') == std::string_view::npos && name.size() <= 24) FUZZ_CHECK(base == modelPath);
}

// Suffix start and output names for the list in `names`.
void CheckNames(std::span<const ReplacementName> names, std::string_view base) {
  const unsigned k = FindSuffixStart(names);
  std::vector<std::string> outputs;
  if (k == 0) {
    for (std::size_t i = 0; i < names.size(); ++i) {
      const std::string path = NumberedOutputPath(base, unsigned(i + 1));
      char expected[32];
      std::snprintf(expected, sizeof expected, "_%02u.nif", unsigned(i + 1));
      FUZZ_CHECK(path == std::string(base) + expected);
      outputs.push_back(Lower(path));
    }
  } else {
    FUZZ_CHECK(names.size() >= 2);
    FUZZ_CHECK(k < kReplacementNameCapacity);
    const std::string_view first = TextIn(names[0].name);
    bool someDiffer = false;
    for (const ReplacementName& entry : names) {
      const std::string_view name = TextIn(entry.name);
      const auto firstDot = name.find('.');
      const auto lastDot = name.rfind('.');
      // Every name reaches past k, agrees with the first one before k (ignoring case),
      // and has a suffix of 0 to 2 characters before its last ".".
      FUZZ_CHECK(firstDot != std::string_view::npos && firstDot >= k);
      FUZZ_CHECK(lastDot - k <= 2);
      FUZZ_CHECK(Lower(name.substr(0, k)) == Lower(first.substr(0, k)));
      someDiffer |= FoldToLower(name[k]) != FoldToLower(first[k]);
      const std::string_view suffix = SuffixOf(name, k);
      FUZZ_CHECK(suffix == name.substr(k, lastDot - k));
      const std::string path = SuffixOutputPath(base, suffix);
      FUZZ_CHECK(path == std::string(base) + "_" + std::string(suffix) + ".nif");
      outputs.push_back(Lower(path));
    }
    // k is where the names first differ.
    FUZZ_CHECK(someDiffer);
    FUZZ_CHECK(first[k] != '.');
  }
  // No two copies may land on one file, even where letter case does not count.
  std::ranges::sort(outputs);
  FUZZ_CHECK(std::ranges::adjacent_find(outputs) == outputs.end());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string_view> lines = SplitLines(input);

  std::string modelPath(lines[0].substr(0, kModelPathCapacity - 1));
  modelPath = std::string(TextIn(modelPath));  // the path ends at a NUL, as in the program
  CheckBasePath(modelPath);
  const std::string base = MakeBasePath(modelPath);

  static std::vector<ReplacementName> names;
  names.clear();
  for (std::size_t i = 1; i < lines.size() && names.size() < kMaxNames; ++i) {
    ReplacementName entry{};
    CopyText(entry.name, lines[i]);
    names.push_back(entry);
  }
  if (size > 0 && (data[0] & 1) != 0) {
    std::ranges::stable_sort(names, [](const ReplacementName& a, const ReplacementName& b) {
      return CompareNamesNoCase(a.name, b.name) < 0;
    });
  }
  CheckNames(names, base);
  return 0;
}
