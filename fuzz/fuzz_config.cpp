// Arbitrary bytes as an openmw.cfg: read without reading outside them, and what is read back
// is there in the text: each path verbatim or between quotes with `&` escapes; and a comment
// and a setting added at the end change nothing before them.
#include <cctype>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "game_config.h"

namespace {

// Whether a quoted value starting after the quote at `at` is `path`: each byte itself or
// after an `&`, then the closing quote.
bool QuotedAt(std::string_view text, std::size_t at, std::string_view path) {
  for (const char c : path) {
    if (at < text.size() && text[at] == '&')
      ++at;
    else if (c == '"')
      return false;
    if (at >= text.size() || text[at++] != c) return false;
  }
  return at < text.size() && text[at] == '"';
}

bool InText(std::string_view text, const std::string& value) {
  if (value.find('\n') != value.npos) return false;
  if (text.find(value) != text.npos) return true;
  for (std::size_t quote = text.find('"'); quote != text.npos; quote = text.find('"', quote + 1))
    if (QuotedAt(text, quote + 1, value)) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  OpenmwCfgLines lines, again;
  std::string error;
  const bool read = ParseOpenmwCfgText(text, lines, error);
  FUZZ_CHECK(read == error.empty());
  FUZZ_CHECK(read || (error.find('\n') == error.npos &&
                      std::isdigit(static_cast<unsigned char>(error[0]))));
  if (!read) return 0;
  FUZZ_CHECK(lines.dataLocal.size() <= 1 && lines.resources.size() <= 1);
  for (const auto* values :
       {&lines.data, &lines.config, &lines.dataLocal, &lines.resources, &lines.fallbackArchives})
    for (const std::string& value : *values) FUZZ_CHECK(InText(text, value));
  const bool endsInLine = !text.empty() && text.back() != '\n';
  const std::string longer = std::string(text) + (endsInLine ? "\n" : "") + "  # x\ndata=\"&&\"z\n";
  FUZZ_CHECK(ParseOpenmwCfgText(longer, again, error));
  // The line is read unless it lies in a section; then it is "&".
  FUZZ_CHECK(again.data.size() == lines.data.size() || again.data.back() == "&");
  if (again.data.size() > lines.data.size()) again.data.pop_back();
  FUZZ_CHECK(again.data == lines.data && again.config == lines.config &&
             again.fallbackArchives == lines.fallbackArchives);
  return 0;
}
