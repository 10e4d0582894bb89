// Small helpers for the fixed-size, NUL-terminated 8-bit texts the program keeps.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

// Copies as much of `text` as fits, always terminating; returns false if it was cut.
bool CopyText(std::span<char> into, std::string_view text);

// The text in a fixed buffer, up to its terminator (or the whole buffer if none).
std::string_view TextIn(std::span<const char> buffer);

// Folds only the ASCII letters A-Z to a-z, as the sort and suffix rules need.
constexpr char FoldToLower(char c) {
  return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}
constexpr char FoldToUpper(char c) {
  return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

// Orders texts as the sort of the replacement list does: byte by byte with A-Z taken as
// a-z, a text before any longer one it starts. Negative, zero or positive, as strcmp.
int CompareNoCase(std::string_view a, std::string_view b);
inline bool EqualNoCase(std::string_view a, std::string_view b) {
  return CompareNoCase(a, b) == 0;
}
