// Model images generated for the benchmarks: realistic content with the byte statistics
// of a real model, and adversarial content aimed at the texture scan's search.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// Measured in morrowind_mossyrock.nif (66,914 bytes): 138 "N" bytes, 11 records of which
// 2 are texture records. The generator reproduces these rates at any size.
inline constexpr double kRealNPerByte = 138.0 / 66914.0;
inline constexpr double kRealBytesPerRecord = 66914.0 / 11.0;
inline constexpr double kRealTexturesPerRecord = 2.0 / 11.0;

// Records of the kinds a real model holds, with "N" as often as in the fixture. At most
// `maxExternal` texture records name an outside file (spread evenly over the image), the
// others hold their texture inside, so that a large image does not fill the reference
// table and cut the scan short.
Bytes MakeRealisticImage(std::size_t size, std::size_t maxExternal = 100);

// The header followed by nothing but "N" bytes.
Bytes MakeAllNImage(std::size_t size);

// The header followed by "NiSourceTextur" (the type name without its last byte) repeated.
Bytes MakeNearMissImage(std::size_t size);

// The header followed by the whole type name repeated: every record matches but none is
// external.
Bytes MakeAllMatchImage(std::size_t size);

// The contents the scan is measured on, and what is asked of the scan on each.
enum class ScanContentKind {
  kRealistic,    // target: a share of memchr's throughput
  kAdversarial,  // target: within a factor of memchr's time, linear in size
  kReference,    // no target; shown to complete the picture
};
struct ScanContent {
  const char* name;
  Bytes (*make)(std::size_t size);
  ScanContentKind kind;
};
extern const std::array<ScanContent, 4> kScanContents;

// A byte value that does not occur in `image` (the memchr baseline searches for it).
int AbsentByte(const Bytes& image);

// Share of "N" bytes in `image`.
double NPerByte(const Bytes& image);

// "1 MiB", "64 MiB", "256 KiB", ...
std::string SizeLabel(std::size_t bytes);
