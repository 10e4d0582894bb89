// Arbitrary model paths and replacement names through the naming. Input: lines; the first is
// the model path, every other a replacement name, sorted as the texture list sorts them.
#include <algorithm>
#include <string>
#include <vector>

#include "common/text.h"
#include "fuzz_check.h"
#include "variants/naming.h"
#include "variants/replacement_list.h"

namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::ranges::transform(lower, lower.begin(), FoldToLower);
  return lower;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> lines(1);
  for (std::size_t i = 0; i < size && lines.size() <= 256; ++i) {
    if (data[i] == '\n')
      lines.emplace_back();
    else
      lines.back() += char(data[i]);
  }
  const std::string model(TextIn(lines[0].substr(0, kModelPathCapacity - 1)));
  const std::string base = MakeBasePath(model);
  // The folder whole, then at most 24 characters of the file name.
  const std::size_t nameStart = model.rfind('/') + 1;
  FUZZ_CHECK(model.starts_with(base) && base.size() >= nameStart && base.size() - nameStart <= 24);

  std::vector<ReplacementName> names(lines.size() - 1);
  for (std::size_t i = 0; i < names.size(); ++i) CopyText(names[i].name, lines[i + 1]);
  std::ranges::sort(
      names, [](const auto& a, const auto& b) { return CompareNamesNoCase(a.name, b.name) < 0; });
  const unsigned k = FindSuffixStart(names);
  std::vector<std::string> outputs;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string_view name = TextIn(names[i].name);
    if (k == 0) {
      outputs.push_back(Lower(NumberedOutputPath(base, unsigned(i + 1))));
      continue;
    }
    // Every name agrees with the first before k, ignoring case, and has at most 2
    // characters from k to its last ".".
    FUZZ_CHECK(name.find('.') >= k && name.find('.') != name.npos && name.rfind('.') - k <= 2);
    FUZZ_CHECK(Lower(name.substr(0, k)) == Lower(TextIn(names[0].name).substr(0, k)));
    outputs.push_back(Lower(SuffixOutputPath(base, SuffixOf(name, k))));
  }
  // No two copies may land on one file, even where letter case does not count.
  std::ranges::sort(outputs);
  FUZZ_CHECK(std::ranges::adjacent_find(outputs) == outputs.end());
  return 0;
}
