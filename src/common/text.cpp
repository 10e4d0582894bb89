#include "common/text.h"

#include <algorithm>
#include <cstring>

bool CopyText(std::span<char> into, std::string_view text) {
  if (into.empty()) return text.empty();
  const std::size_t n = std::min(text.size(), into.size() - 1);
  std::copy_n(text.data(), n, into.data());
  into[n] = '\0';
  return n == text.size();
}

std::string_view TextIn(std::span<const char> buffer) {
  const auto end = std::ranges::find(buffer, '\0');
  return {buffer.data(), static_cast<std::size_t>(end - buffer.begin())};
}

int CompareNoCase(std::string_view a, std::string_view b) {
  const auto folded = [](char c) { return static_cast<unsigned char>(FoldToLower(c)); };
  const auto [ia, ib] = std::ranges::mismatch(a, b, {}, folded, folded);
  if (ia != a.end() && ib != b.end()) return int(folded(*ia)) - int(folded(*ib));
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}
