// Which records the scan accepts, what it shows of them, and the bounds at the file's end.
#include <gtest/gtest.h>

#include <memory>

#include "interpreter/model_bytes.h"
#include "model/stored_path.h"
#include "model/texture_scan.h"
#include "model/type_name_search.h"

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
      // The header is all of its 22 bytes, in their letter case.
      {"NetImmerse File Forma_" + TextureRecord("a.dds"), ""},
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

// Under the scan's own search; the byte search, and the vector search where the processor
// has one, must find the type name where a plain search does, from every position.
TEST(Scan, AcceptsExactlyTheExternalRecordsInsideTheFile) {
#if defined(__SSE2__)
  // Where the processor has it, the program uses it.
  ASSERT_EQ(BestTypeNameSearch(), TypeNameSearch::kVector);
#endif
  for (const auto& [file, names] : Cases()) {
    SCOPED_TRACE(names.substr(0, 40));
    // In a block of exactly the file's size, so that the sanitizer sees any read past it.
    auto exact = std::make_unique<std::uint8_t[]>(file.size());
    std::copy(file.begin(), file.end(), exact.get());
    const std::span<const std::uint8_t> bytes(exact.get(), file.size());
    for (const TypeNameSearch search : {TypeNameSearch::kBytes, BestTypeNameSearch()}) {
      for (std::size_t from = 0; from <= file.size(); ++from) {
        ASSERT_EQ(FindTextureTypeNameWith(search, bytes, from),
                  std::min(file.find(kTextureTypeName, from), file.size()))
            << "from " << from << (search == TypeNameSearch::kBytes ? ", byte search" : "");
      }
    }

    std::array<TextureRef, kMaxTextureRefs> table{};
    const ScanResult result = ScanTextureRefs(bytes, table);
    const std::vector<RefSpan> refs = ReferenceScan(file);
    ASSERT_LE(result.refCount, refs.size());
    std::string shown;
    for (std::uint32_t i = 0; i < result.refCount; ++i) {
      shown.append(i > 0 ? "|" : "").append(table[i].displayName);
      EXPECT_EQ(table[i].lengthOffset, refs[i].lengthOffset);
      EXPECT_EQ(table[i].tailOffset, refs[i].tailOffset);
      // The path as stored, folders kept, up to its first zero byte.
      const std::string path =
          file.substr(refs[i].lengthOffset + 4, refs[i].tailOffset - refs[i].lengthOffset - 4);
      EXPECT_EQ(StoredPath(bytes, table[i]), path.substr(0, path.find('\0')));
    }
    EXPECT_EQ(shown, names);
    EXPECT_EQ(result.truncated, refs.size() > kMaxTextureRefs);
    EXPECT_EQ(result.status, result.refCount > 0 ? ScanStatus::kFound
                             : file.starts_with("NetImmerse File Format")
                                 ? ScanStatus::kNoReferences
                                 : ScanStatus::kNotNetImmerse);
  }
}

}  // namespace
