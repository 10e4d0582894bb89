// The names in an archive, and a texture file's path as the game finds it.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "bsa_archive.h"
#include "game_lookup.h"
#include "interpreter/archive_bytes.h"
#include "interpreter/scenario.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
const std::vector<std::string> kNames = {"textures\\a.dds", "b.nif"};

bool Reads(const Bytes& bytes, std::vector<std::string>& names) {
  std::string damage;
  const bool read = ReadArchiveNames(bytes, bytes.size(), names, damage);
  EXPECT_EQ(read, damage.empty());
  return read;
}

// kNames' archive with the 32-bit field at `at` set to `value`, cut to `size` bytes.
Bytes Damaged(std::size_t at, std::uint32_t value, std::size_t size = 73) {
  Bytes bytes = ArchiveBytes(kNames);
  for (int i = 0; i < 4; ++i) bytes[at + i] ^= std::uint8_t(value >> 8 * i);
  bytes.resize(size);
  return bytes;
}

TEST(ReadArchiveNames, GivesTheNamesAndRefusesDamage) {
  std::vector<std::string> names;
  EXPECT_TRUE(Reads(ArchiveBytes({}), names) && names.empty());
  ASSERT_TRUE(Reads(ArchiveBytes(kNames), names));
  EXPECT_EQ(names, kNames);
  // Fields are flipped by XOR: the header at 0, records at 12, name offsets at 28, names
  // at 36 to 57 (the last terminator at 56), hashes to 73.
  const Bytes damaged[] = {
      Damaged(0, 1),        Damaged(8, 1),     Damaged(8, 0x40000000), Damaged(4, 45 ^ 44),
      Damaged(32, 15 ^ 21), Damaged(12, 1),    Damaged(24, 1),         Damaged(56, 'x'),
      Damaged(0, 0, 0),     Damaged(0, 0, 11), Damaged(0, 0, 40),      Damaged(0, 0, 72),
  };
  for (const Bytes& bytes : damaged) {
    EXPECT_FALSE(Reads(bytes, names)) << &bytes - damaged;
    EXPECT_TRUE(names.empty());
  }
  const std::string file = testing::TempDir() + "/archive_test.bsa";
  const Bytes bytes = ArchiveBytes(kNames);
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), 73);
  std::string error;
  EXPECT_TRUE(ReadArchiveFileNames(file, names, error) && names == kNames) << error;
  EXPECT_FALSE(ReadArchiveFileNames(file + ".missing", names, error));
  // A 32-bit process cannot hold 2 GiB of tables: an archive that big is refused, not read.
  if constexpr (sizeof(std::size_t) == 4) {
    const Bytes big = Damaged(4, 45 ^ 0x80000000);
    std::istringstream in(std::string(big.begin(), big.end()));
    EXPECT_FALSE(ReadArchiveStreamNames(in, 0x90000000, names, error));
    EXPECT_EQ(error, "it could not be read");
  }
}

TEST(GameTexturePath, IsThePathBelowTheNearestTexturesFolder) {
  const std::pair<const char*, const char*> cases[] = {
      {"/g/textures/old/TEXTURES//new/a.dds", "textures\\new\\a.dds"},
      {"/g/meshes/textures", ""},
      {"/g/meshes/a.dds", ""},
  };
  for (const auto& [file, path] : cases) EXPECT_EQ(GameTexturePath(file).value_or(""), path);
}

}  // namespace
