// Which records the scan accepts, what it shows of them, and the bounds at the file's end.
#include <gtest/gtest.h>

#include <memory>

#include "interpreter/model_bytes.h"
#include "model/stored_path.h"
#include "model/texture_scan.h"

namespace {

std::string Model(const std::string& records) {
  return std::string(kVersionedHeader) + records;
}

// A file, and the display names of the references it must give, joined by |.
std::vector<std::pair<std::string, std::string>> Cases() {
  const std::string whole = TextureRecord("tx.dds"), header = "NetImmerse File Format";
  const auto cut = [&](std::size_t keep) {
    return Model(TextureRecord("keep.dds") + whole.substr(0, keep));
  };
  const auto huge = [](std::uint32_t length) {
    return Model(U32(15) + "NiSourceTexture" + std::string(12, '\0') + '\1' + U32(length) +
                 TextureRecord("later.dds"));
  };
  std::string many, hundred;
  for (int i = 0; i < 101; ++i) {
    const std::string name = std::string("t").append(std::to_string(i)).append(".dds");
    many += TextureRecord(name);
    if (i < 100) hundred.append(i > 0 ? "|" : "").append(name);
  }
  std::vector<std::pair<std::string, std::string>> cases = {
      {header + TextureRecord("tx_a.dds"), "tx_a.dds"},
      // Only flag 1 names an outside file; one texture named twice gives two references.
      {Model(TextureRecord("in.dds", 0) + TextureRecord("a.dds", 2) + TextureRecord("b.dds") +
             TextureRecord("b.dds")),
       "b.dds|b.dds"},
      // A record inside an accepted path is not examined; after one passed over, the
      // search goes on 15 bytes after its type name.
      {Model(TextureRecord(TextureRecord("hidden.dds")) + "NiSourceTexture" +
             TextureRecord("next.dds")),
       "\x0F|next.dds"},
      {Model(TextureRecord("a\\b\\c.dds") + TextureRecord("t/x.dds") + TextureRecord("") +
             TextureRecord("dir\\")),
       "c.dds|t/x.dds||"},
      // A zero byte ends the name; long names are cut to 199 characters.
      {Model(TextureRecord(std::string("a\\b.dds\0c\\d.dds", 15)) +
             TextureRecord(std::string(250, 'n')) + TextureRecord("d\\" + std::string(199, 'q'))),
       "b.dds|" + std::string(199, 'n') + "|" + std::string(199, 'q')},
      // Records cut off by the end of the file: the type name, the flag, the length, the path.
      {cut(4 + 14), "keep.dds"},
      {cut(4 + 15), "keep.dds"},
      {cut(4 + 28), "keep.dds"},
      {cut(4 + 30), "keep.dds"},
      {cut(whole.size() - 1), "keep.dds"},
      {cut(whole.size()), "keep.dds|tx.dds"},
      {huge(0xFFFFFFFF), "later.dds"},
      {huge(0x80000000), "later.dds"},
      {Model(many), hundred},
      {Model(TextureRecord("in.dds", 0)), ""},
      {"netimmerse file format" + TextureRecord("a.dds"), ""},
      {"Gamebryo File Format, Version 20" + TextureRecord("a.dds"), ""},
      {"NetImmerse", ""},
      {"", ""},
  };
  // A record at every place in and after the vector search's first blocks.
  for (std::size_t n = 0; n < 160; ++n) {
    cases.emplace_back(header + std::string(n, 'x') + TextureRecord("a.dds") + std::string(n, 'x'),
                       "a.dds");
  }
  return cases;
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
#if defined(__SSE2__)
  ASSERT_EQ(saved, ScanSearch::kVector);  // where the processor has it, the program uses it
#endif
  for (const ScanSearch search : {ScanSearch::kBytes, saved}) {
    ASSERT_EQ(SetScanSearch(search), search);
    for (const auto& [file, names] : Cases()) {
      SCOPED_TRACE(names.substr(0, 40) + (search == ScanSearch::kBytes ? ", byte search" : ""));
      const Scanned s = Scan(file);
      const std::vector<RefSpan> refs = ReferenceScan(file);
      ASSERT_LE(s.result.refCount, refs.size());
      std::string shown;
      for (std::uint32_t i = 0; i < s.result.refCount; ++i) {
        shown.append(i > 0 ? "|" : "").append(s.table[i].displayName);
        EXPECT_EQ(s.table[i].lengthOffset, refs[i].lengthOffset);
        EXPECT_EQ(s.table[i].tailOffset, refs[i].tailOffset);
        // The path as stored, folders kept, up to its first zero byte.
        const std::string path =
            file.substr(refs[i].lengthOffset + 4, refs[i].tailOffset - refs[i].lengthOffset - 4);
        EXPECT_EQ(StoredPath({reinterpret_cast<const std::uint8_t*>(file.data()), file.size()},
                             s.table[i]),
                  path.substr(0, path.find('\0')));
      }
      EXPECT_EQ(shown, names);
      EXPECT_EQ(s.result.truncated, refs.size() > kMaxTextureRefs);
      EXPECT_EQ(s.result.status, s.result.refCount > 0 ? ScanStatus::kFound
                                 : file.starts_with("NetImmerse File Format")
                                     ? ScanStatus::kNoReferences
                                     : ScanStatus::kNotNetImmerse);
    }
  }
  SetScanSearch(saved);
}

}  // namespace
