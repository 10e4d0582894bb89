#include "bench_images.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "model/type_name_search.h"

namespace {

constexpr std::string_view kHeader = "NetImmerse File Format, Version 4.0.0.2\n";
constexpr std::array<std::string_view, 6> kOtherRecordTypes = {"NiNode",
                                                               "NiTriShape",
                                                               "NiTriShapeData",
                                                               "NiTexturingProperty",
                                                               "NiMaterialProperty",
                                                               "NiSpecularProperty"};
constexpr std::string_view kTexturePath = "textures\\tx_bench_mossy_stone01.dds";
// Kept out of generated payload so that every realistic image has an absent byte.
constexpr std::uint8_t kNeverWritten = 0xA7;

// A small, fixed pseudo-random sequence: the images are the same in every run.
struct Random {
  std::uint64_t state;
  std::uint64_t Next() {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
  }
  // True with probability `p`.
  bool Chance(double p) { return double(Next() >> 11) * 0x1.0p-53 < p; }
};

// Byte by byte: GCC 12 at -O3 misreads a range insert into a growing vector as an overflow.
void Put(Bytes& out, std::string_view text) {
  for (const char c : text) out.push_back(static_cast<std::uint8_t>(c));
}

void PutU32(Bytes& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(value >> (8 * i)));
}

void PutTypeName(Bytes& out, std::string_view name) {
  PutU32(out, static_cast<std::uint32_t>(name.size()));
  Put(out, name);
}

// Record data: random bytes, with "N" at the rate that makes the whole image match the
// fixture once the type names' own "N" bytes are counted.
void PutPayload(Bytes& out, std::size_t count, Random& random) {
  const double nRate = kRealNPerByte - 1.0 / kRealBytesPerRecord;
  for (std::size_t i = 0; i < count; ++i) {
    auto byte = std::uint8_t(random.Next() >> 56);
    if (byte == 'N' || byte == kNeverWritten) byte = 0;
    if (random.Chance(nRate)) byte = 'N';
    out.push_back(byte);
  }
}

void PutTextureRecord(Bytes& out, bool external) {
  PutTypeName(out, kTextureTypeName);
  PutU32(out, 0);           // unnamed
  PutU32(out, 0xFFFFFFFF);  // extra data link
  PutU32(out, 0xFFFFFFFF);  // controller link
  out.push_back(external ? 1 : 0);
  if (external) {
    PutU32(out, static_cast<std::uint32_t>(kTexturePath.size()));
    Put(out, kTexturePath);
  } else {
    PutU32(out, 0xFFFFFFFF);  // pixel data link
  }
  Put(out, std::string_view("\x05\x00\x00\x00\x01\x00\x00\x00\x03\x00\x00\x00", 12));
}

Bytes Repeated(std::size_t size, std::string_view unit) {
  Bytes out;
  out.reserve(size);
  Put(out, kHeader);
  while (out.size() < size)
    out.push_back(std::uint8_t(unit[(out.size() - kHeader.size()) % unit.size()]));
  out.resize(size);
  return out;
}

}  // namespace

Bytes MakeRealisticImage(std::size_t size, std::size_t maxExternal) {
  Bytes out;
  out.reserve(size + 64 * 1024);
  Random random{0x9E3779B97F4A7C15ull};
  Put(out, kHeader);
  PutU32(out, 0x04000002);

  // Texture records expected in the image, and how many of them to pass over between two
  // external ones.
  const double textures = double(size) / kRealBytesPerRecord * kRealTexturesPerRecord;
  const auto every = std::max<std::size_t>(1, std::size_t(textures / double(maxExternal)) + 1);
  std::size_t textureIndex = 0;
  std::size_t external = 0;

  while (out.size() < size) {
    if (random.Chance(kRealTexturesPerRecord)) {
      const bool isExternal = textureIndex++ % every == 0 && external < maxExternal;
      external += isExternal ? 1 : 0;
      PutTextureRecord(out, isExternal);
    } else {
      PutTypeName(out, kOtherRecordTypes[random.Next() % kOtherRecordTypes.size()]);
    }
    // Record sizes vary around the fixture's mean.
    const auto mean = std::size_t(kRealBytesPerRecord);
    PutPayload(out, mean / 2 + random.Next() % mean, random);
  }
  out.resize(size);
  return out;
}

Bytes MakeAllNImage(std::size_t size) {
  return Repeated(size, "N");
}

Bytes MakeNearMissImage(std::size_t size) {
  return Repeated(size, kTextureTypeName.substr(0, kTextureTypeName.size() - 1));
}

Bytes MakeAllMatchImage(std::size_t size) {
  return Repeated(size, kTextureTypeName);
}

const std::array<ScanContent, 4> kScanContents = {{
    {"realistic", [](std::size_t size) { return MakeRealisticImage(size); },
     ScanContentKind::kRealistic},
    {"all-N", MakeAllNImage, ScanContentKind::kAdversarial},
    {"near-miss", MakeNearMissImage, ScanContentKind::kAdversarial},
    {"all-match", MakeAllMatchImage, ScanContentKind::kReference},
}};

int AbsentByte(const Bytes& image) {
  std::array<bool, 256> seen{};
  for (const std::uint8_t b : image) seen[b] = true;
  const auto it = std::ranges::find(seen, false);
  return it == seen.end() ? -1 : int(it - seen.begin());
}

double NPerByte(const Bytes& image) {
  return image.empty()
             ? 0.0
             : double(std::ranges::count(image, std::uint8_t{'N'})) / double(image.size());
}

std::string SizeLabel(std::size_t bytes) {
  if (bytes >= (1u << 20) && bytes % (1u << 20) == 0) return std::to_string(bytes >> 20) + "MiB";
  if (bytes >= (1u << 10) && bytes % (1u << 10) == 0) return std::to_string(bytes >> 10) + "KiB";
  return std::to_string(bytes) + "B";
}
