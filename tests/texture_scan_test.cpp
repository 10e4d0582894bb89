#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/texture_scan.h"
#include "support/model_builder.h"

namespace {

struct Scanned {
  ScanResult result;
  std::array<TextureRef, kMaxTextureRefs> table{};
  std::string Name(int i) const { return table[i].displayName; }
};

// Scans a copy in a block of exactly the file's size, so the sanitizer sees any read
// past the file's bytes.
Scanned Scan(const Bytes& bytes) {
  auto exact = std::make_unique<std::uint8_t[]>(bytes.size());
  std::copy(bytes.begin(), bytes.end(), exact.get());
  Scanned s;
  s.result = ScanTextureRefs({exact.get(), bytes.size()}, s.table);
  return s;
}

TEST(TextureScan, SingleRecordGivesOffsetsAndName) {
  ModelBuilder m = ModelBuilder::NetImmerse();
  m.TextureRecord("tx_a.dds");
  ASSERT_EQ(m.size(), 66u);
  const Scanned s = Scan(m.bytes);
  ASSERT_EQ(s.result.status, ScanStatus::kFound);
  ASSERT_EQ(s.result.refCount, 1u);
  EXPECT_EQ(s.table[0].lengthOffset, 54u);
  EXPECT_EQ(s.table[0].tailOffset, 66u);
  EXPECT_EQ(s.Name(0), "tx_a.dds");
  EXPECT_FALSE(s.result.truncated);
}

TEST(TextureScan, RecordsInFileOrderWithFoldersRemoved) {
  ModelBuilder m = ModelBuilder::NetImmerse(", Version 4.0.0.2\n");
  m.Zeros(7);
  const auto first = m.TextureRecord("tx_a.dds");
  m.Raw("xyzN").U32(0);
  const auto second = m.TextureRecord("textures\\b\\tx_b.dds");
  const Scanned s = Scan(m.bytes);
  ASSERT_EQ(s.result.refCount, 2u);
  EXPECT_EQ(s.Name(0), "tx_a.dds");
  EXPECT_EQ(s.Name(1), "tx_b.dds");
  EXPECT_EQ(s.table[0].lengthOffset, first);
  EXPECT_EQ(s.table[1].lengthOffset, second);
  EXPECT_EQ(s.table[1].tailOffset, second + 4 + 19);
}

// Each case builds a model and names the references it must give, in order.
struct AcceptCase {
  const char* what;
  ModelBuilder model = ModelBuilder::NetImmerse();
  std::vector<std::pair<std::uint32_t, std::string>> expected;
  void Expect(std::string_view path, std::uint8_t flag = 1) { Expect(path, flag, path); }
  void Expect(std::string_view path, std::uint8_t flag, std::string_view shown) {
    const auto at = model.TextureRecord(path, flag);
    if (flag == 1) expected.emplace_back(at, std::string(shown));
  }
};

TEST(TextureScan, AcceptsExactlyTheExternalRecords) {
  std::vector<AcceptCase> cases(4);
  cases[0].what = "only flag 1 names an outside file";
  cases[0].Expect("inside.dds", 0);
  cases[0].Expect("other.dds", 2);
  cases[0].Expect("outside.dds");

  cases[1].what = "the same texture thrice gives three entries";
  for (int i = 0; i < 3; ++i) cases[1].Expect("rock.dds");

  // The path's bytes spell a whole external record of their own, which is not examined.
  cases[2].what = "a match inside an accepted path";
  ModelBuilder inner;
  inner.TextureRecord("hidden.dds");
  cases[2].Expect(ToString(inner.bytes), 1, "\x0F");  // shown up to its first zero byte
  cases[2].Expect("after.dds");

  // The unexamined bytes of a passed-over match hold the start of an external record.
  cases[3].what = "the search goes on 15 bytes after a passed-over match";
  cases[3].model.Raw("NiSourceTexture");
  cases[3].Expect("next.dds");

  for (const AcceptCase& c : cases) {
    const Scanned s = Scan(c.model.bytes);
    ASSERT_EQ(s.result.refCount, c.expected.size()) << c.what;
    for (std::size_t i = 0; i < c.expected.size(); ++i) {
      EXPECT_EQ(s.table[i].lengthOffset, c.expected[i].first) << c.what;
      EXPECT_EQ(s.Name(i), c.expected[i].second) << c.what;
    }
  }
}

struct DisplayCase {
  std::string path;
  std::string shown;
};

void PrintTo(const DisplayCase& c, std::ostream* os) {
  *os << testing::PrintToString(c.path);
}

class DisplayName : public testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayName, IsPathAfterLastBackslashBeforeFirstZero) {
  ModelBuilder m = ModelBuilder::NetImmerse();
  const auto at = m.TextureRecord(GetParam().path);
  const Scanned s = Scan(m.bytes);
  ASSERT_EQ(s.result.refCount, 1u);
  EXPECT_EQ(s.Name(0), GetParam().shown);
  // The offsets always cover every byte of the path.
  EXPECT_EQ(s.table[0].tailOffset, at + 4 + GetParam().path.size());
}

INSTANTIATE_TEST_SUITE_P(
    Paths, DisplayName,
    testing::Values(DisplayCase{"textures/rock.dds", "textures/rock.dds"}, DisplayCase{"", ""},
                    DisplayCase{"a\\b\\", ""},
                    DisplayCase{std::string("a\\b.dds\0c\\d.dds", 15), "b.dds"},
                    DisplayCase{std::string("\0x.dds", 6), ""},
                    DisplayCase{std::string(250, 'n'), std::string(199, 'n')},
                    DisplayCase{"dir\\" + std::string(199, 'q'), std::string(199, 'q')}));

TEST(TextureScan, HeaderMustMatchExactly) {
  for (const std::string header :
       {"", "NetImmerse", "netimmerse file format", "Gamebryo File Format, Version 20.0.0.4"}) {
    ModelBuilder m;
    m.Raw(header);
    if (!header.empty()) m.TextureRecord("tx.dds");
    EXPECT_EQ(Scan(m.bytes).result.status, ScanStatus::kNotNetImmerse) << header;
  }
  EXPECT_EQ(Scan(ModelBuilder::NetImmerse().bytes).result.status, ScanStatus::kNoReferences);
}

// Records cut off by the end of the file: none of them may be accepted or read past.
TEST(TextureScan, NothingPastTheEndOfTheFileIsTakenAsData) {
  const ModelBuilder base = [] {
    ModelBuilder m = ModelBuilder::NetImmerse();
    m.TextureRecord("keep.dds");
    return m;
  }();
  struct Cut {
    const char* what;
    Bytes tail;
  };
  ModelBuilder whole;
  whole.TextureRecord("tx.dds");
  const Bytes record = whole.bytes;  // 4 + 15 + 12 + 1 + 4 + 6 bytes
  const std::vector<Cut> cuts = {
      {"type name cut short", Bytes(record.begin(), record.begin() + 4 + 14)},
      {"type name only", Bytes(record.begin(), record.begin() + 4 + 15)},
      {"flag is the last byte", Bytes(record.begin(), record.begin() + 4 + 28)},
      {"length cut short", Bytes(record.begin(), record.begin() + 4 + 30)},
      {"path one byte short", Bytes(record.begin(), record.end() - 1)},
  };
  for (const Cut& cut : cuts) {
    Bytes bytes = base.bytes;
    bytes.insert(bytes.end(), cut.tail.begin(), cut.tail.end());
    const Scanned s = Scan(bytes);
    EXPECT_EQ(s.result.refCount, 1u) << cut.what;
    EXPECT_EQ(s.Name(0), "keep.dds") << cut.what;
  }

  Bytes exact = base.bytes;
  exact.insert(exact.end(), record.begin(), record.end());
  const Scanned s = Scan(exact);
  ASSERT_EQ(s.result.refCount, 2u) << "a path ending exactly at the end is inside the file";
  EXPECT_EQ(s.table[1].tailOffset, exact.size());
}

TEST(TextureScan, HugeLengthIsRefusedWithoutOverflow) {
  for (const std::uint32_t length : {0xFFFFFFFFu, 0xFFFFFFF0u, 0x80000000u}) {
    ModelBuilder m = ModelBuilder::NetImmerse();
    m.U32(15).Raw("NiSourceTexture").Zeros(12).U8(1).U32(length).Raw("short.dds");
    const auto later = m.TextureRecord("later.dds");
    const Scanned s = Scan(m.bytes);
    ASSERT_EQ(s.result.refCount, 1u) << length;
    EXPECT_EQ(s.table[0].lengthOffset, later);
  }
}

TEST(TextureScan, KeepsTheFirstHundredAndSaysSo) {
  for (const std::uint32_t count : {100u, 101u, 150u}) {
    ModelBuilder m = ModelBuilder::NetImmerse();
    std::uint32_t hundredth = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
      const auto at = m.TextureRecord("t" + std::to_string(i) + ".dds");
      if (i == 99) hundredth = at;
    }
    const Scanned s = Scan(m.bytes);
    EXPECT_EQ(s.result.refCount, 100u);
    EXPECT_EQ(s.result.truncated, count > 100) << count;
    EXPECT_EQ(s.table[99].lengthOffset, hundredth);
    EXPECT_EQ(s.Name(99), "t99.dds");
  }
}

}  // namespace
