// Morrowind archives (.bsa) for tests, built byte by byte.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// An archive holding one empty file per name, in order (hashes left zero).
std::vector<std::uint8_t> ArchiveBytes(std::span<const std::string> names);
