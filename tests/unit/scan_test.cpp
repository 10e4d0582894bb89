// Which records the scan accepts, what it shows of them, and the bounds at the file's end.
#include <gtest/gtest.h>

#include <memory>

#include "interpreter/model_bytes.h"
#include "interpreter/scenario.h"
#include "model/texture_scan.h"

namespace {

struct ScanCase {
  const char* what;
  std::string file;
  std::vector<std::string> shown;  // display names, in order; offsets are checked below
  ScanStatus status = ScanStatus::kFound;
};

std::string Model(std::string_view records) {
  return std::string(kVersionedHeader) + std::string(records);
}

std::vector<ScanCase> Cases() {
  const std::string whole = TextureRecord("tx.dds");
  const auto cut = [&](std::size_t keep) {
    return Model(TextureRecord("keep.dds") + whole.substr(0, keep));
  };
  const auto huge = [](std::uint32_t length) {
    return Model(U32(15) + "NiSourceTexture" + std::string(12, '\0') + '\1' + U32(length) +
                 "x.dds" + TextureRecord("later.dds"));
  };
  std::string many;
  for (int i = 0; i < 101; ++i) many += TextureRecord("t" + std::to_string(i) + ".dds");
  std::vector<std::string> hundred;
  for (int i = 0; i < 100; ++i) hundred.push_back("t" + std::to_string(i) + ".dds");
  return {
      {"header and one record", "NetImmerse File Format" + TextureRecord("tx_a.dds"), {"tx_a.dds"}},
      {"only flag 1 names an outside file",
       Model(TextureRecord("in.dds", 0) + TextureRecord("other.dds", 2) + TextureRecord("out.dds")),
       {"out.dds"}},
      {"one texture named thrice",
       Model(TextureRecord("a.dds") + TextureRecord("a.dds") + TextureRecord("a.dds")),
       {"a.dds", "a.dds", "a.dds"}},
      {"a record inside an accepted path is not examined",
       Model(TextureRecord(TextureRecord("hidden.dds")) + TextureRecord("after.dds")),
       {"\x0F", "after.dds"}},
      {"the search goes on 15 bytes after a record passed over",
       Model("NiSourceTexture" + TextureRecord("next.dds")),
       {"next.dds"}},
      {"folders go, forward slashes stay",
       Model(TextureRecord("a\\b\\c.dds") + TextureRecord("t/x.dds")),
       {"c.dds", "t/x.dds"}},
      {"empty names", Model(TextureRecord("") + TextureRecord("dir\\")), {"", ""}},
      {"a zero byte ends the name",
       Model(TextureRecord(std::string("a\\b.dds\0c\\d.dds", 15)) +
             TextureRecord(std::string("\0x.dds", 6))),
       {"b.dds", ""}},
      {"long names are cut to 199",
       Model(TextureRecord(std::string(250, 'n')) + TextureRecord("d\\" + std::string(199, 'q'))),
       {std::string(199, 'n'), std::string(199, 'q')}},
      {"type name cut short", cut(4 + 14), {"keep.dds"}},
      {"type name ends the file", cut(4 + 15), {"keep.dds"}},
      {"flag is the last byte", cut(4 + 28), {"keep.dds"}},
      {"length cut short", cut(4 + 30), {"keep.dds"}},
      {"path one byte short", cut(whole.size() - 1), {"keep.dds"}},
      {"path ends with the file", cut(whole.size()), {"keep.dds", "tx.dds"}},
      {"length of 4 GiB - 1", huge(0xFFFFFFFF), {"later.dds"}},
      {"length of 2 GiB", huge(0x80000000), {"later.dds"}},
      {"the first 100 of 101", Model(many), hundred},
      {"no external record", Model(TextureRecord("in.dds", 0)), {}, ScanStatus::kNoReferences},
      {"header in lower case",
       "netimmerse file format" + TextureRecord("a.dds"),
       {},
       ScanStatus::kNotNetImmerse},
      {"Gamebryo header",
       "Gamebryo File Format, Version 20" + TextureRecord("a.dds"),
       {},
       ScanStatus::kNotNetImmerse},
      {"header cut short", "NetImmerse", {}, ScanStatus::kNotNetImmerse},
      {"empty file", "", {}, ScanStatus::kNotNetImmerse},
  };
}

struct Scanned {
  ScanResult result;
  std::array<TextureRef, kMaxTextureRefs> table{};
};

// In a block of exactly the file's size, so that the sanitizer sees any read past it.
Scanned Scan(const std::string& file) {
  auto exact = std::make_unique<std::uint8_t[]>(file.size());
  std::copy(file.begin(), file.end(), exact.get());
  Scanned s;
  s.result = ScanTextureRefs({exact.get(), file.size()}, s.table);
  return s;
}

// Under the byte search, and under the vector search where the processor has one.
TEST(Scan, AcceptsExactlyTheExternalRecordsInsideTheFile) {
  const ScanSearch saved = CurrentScanSearch();
  for (const ScanSearch search : {ScanSearch::kBytes, saved}) {
    SetScanSearch(search);
    for (const ScanCase& c : Cases()) {
      SCOPED_TRACE(std::string(c.what) + (search == ScanSearch::kBytes ? ", byte search" : ""));
      const Scanned s = Scan(c.file);
      EXPECT_EQ(s.result.status, c.status);
      ASSERT_EQ(s.result.refCount, c.shown.size());
      const std::vector<RefSpan> refs = ReferenceScan(c.file);
      EXPECT_EQ(s.result.truncated, refs.size() > kMaxTextureRefs);
      for (std::size_t i = 0; i < c.shown.size(); ++i) {
        EXPECT_EQ(s.table[i].displayName, c.shown[i]);
        EXPECT_EQ(s.table[i].lengthOffset, refs[i].lengthOffset);
        EXPECT_EQ(s.table[i].tailOffset, refs[i].tailOffset);
      }
    }
  }
  SetScanSearch(saved);
}

// The offsets themselves, where they are known independently of any scan.
TEST(Scan, GivesTheKnownOffsets) {
  const Scanned built = Scan("NetImmerse File Format" + TextureRecord("tx_a.dds"));
  EXPECT_EQ(built.table[0].lengthOffset, 54u);
  EXPECT_EQ(built.table[0].tailOffset, 66u);
  const Scanned rock =
      Scan(ReadFileBytes(fs::path(TEXMINT_MODELS_DIR) / "morrowind_mossyrock.nif"));
  ASSERT_EQ(rock.result.refCount, 2u);
  EXPECT_EQ(rock.table[0].lengthOffset, 431u);
  EXPECT_EQ(rock.table[0].tailOffset, 463u);
  EXPECT_EQ(rock.table[1].lengthOffset, 45211u);
  EXPECT_EQ(rock.table[1].tailOffset, 45243u);
}

}  // namespace
