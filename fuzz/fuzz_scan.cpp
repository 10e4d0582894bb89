// Arbitrary bytes as a model file. Checks that the search and the scan agree with a
// plain byte-by-byte reading of the format, that LoadModel reports what the scan found,
// and that the copy built for every reference has the layout of a variant file.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/app_state.h"
#include "common/text.h"
#include "front/ui_standin.h"
#include "fuzz_check.h"
#include "memory_file_ops.h"
#include "model/load_model.h"
#include "model/texture_scan.h"
#include "variants/variant_writer.h"

namespace {

using Span = std::span<const std::uint8_t>;

constexpr std::string_view kNewName = "fuzz_replacement.dds";

bool NameAt(Span file, std::size_t at) {
  return file.size() - at >= kTextureTypeName.size() &&
         std::memcmp(file.data() + at, kTextureTypeName.data(), kTextureTypeName.size()) == 0;
}

// The next type name at or after `from`, one position at a time.
std::size_t SlowFind(Span file, std::size_t from) {
  for (std::size_t at = from; at < file.size(); ++at) {
    if (NameAt(file, at)) return at;
  }
  return file.size();
}

std::uint32_t U32At(Span file, std::size_t at) {
  return std::uint32_t(file[at]) | std::uint32_t(file[at + 1]) << 8 |
         std::uint32_t(file[at + 2]) << 16 | std::uint32_t(file[at + 3]) << 24;
}

struct SlowRef {
  std::uint32_t lengthOffset;
  std::uint32_t tailOffset;
};

struct SlowScan {
  bool netImmerse = false;
  bool truncated = false;
  std::vector<SlowRef> refs;
};

// The scan as the format describes it, without any cleverness: records whose flag,
// length or path would reach past the file are not accepted, and the table stops at
// its capacity.
SlowScan ScanSlowly(Span file) {
  SlowScan scan;
  scan.netImmerse = file.size() >= kModelHeader.size() &&
                    std::memcmp(file.data(), kModelHeader.data(), kModelHeader.size()) == 0;
  if (!scan.netImmerse) return scan;
  std::size_t p = kModelHeader.size();
  while (p < file.size()) {
    const std::size_t q = SlowFind(file, p);
    if (q == file.size()) break;
    if (file.size() - q >= 32 && file[q + 27] == 1) {
      const std::uint32_t length = U32At(file, q + 28);
      if (file.size() - (q + 32) >= length) {
        if (scan.refs.size() == kMaxTextureRefs) {
          scan.truncated = true;
          break;
        }
        scan.refs.push_back({std::uint32_t(q + 28), std::uint32_t(q + 32 + length)});
        p = q + 32 + length;
        continue;
      }
    }
    p = q + kTextureTypeName.size();
  }
  return scan;
}

// The search must find the same positions as the slow one from any starting point; a
// few starting points derived from the input cover the block and tail paths alike.
void CheckSearch(Span file) {
  std::vector<std::size_t> starts = {0, 1, 22, file.size() / 3, file.size() / 2};
  for (std::size_t back = 0; back <= 80 && back <= file.size(); back += 16) {
    starts.push_back(file.size() - back);
  }
  for (std::size_t from : starts) {
    from = std::min(from, file.size());
    FUZZ_CHECK(FindTextureTypeName(file, from) == SlowFind(file, from));
  }
  // Every match in turn, as the scan walks them.
  for (std::size_t at = FindTextureTypeName(file, 0); at < file.size();
       at = FindTextureTypeName(file, at + 1)) {
    FUZZ_CHECK(NameAt(file, at));
    FUZZ_CHECK(SlowFind(file, at + 1) == FindTextureTypeName(file, at + 1));
  }
}

// The display name: the path after its last backslash, looking only before its first
// zero byte, cut to what the field holds.
std::string ExpectedDisplayName(Span path) {
  std::string text(path.begin(), std::ranges::find(path, std::uint8_t{0}));
  if (const auto slash = text.rfind('\\'); slash != std::string::npos) text.erase(0, slash + 1);
  text.resize(std::min(text.size(), kDisplayNameCapacity - 1));
  return text;
}

void CheckTable(Span file, const ScanResult& result, std::span<const TextureRef> table,
                const SlowScan& slow) {
  FUZZ_CHECK((result.status != ScanStatus::kNotNetImmerse) == slow.netImmerse);
  FUZZ_CHECK(result.refCount == slow.refs.size());
  FUZZ_CHECK(result.truncated == slow.truncated);
  FUZZ_CHECK((result.status == ScanStatus::kFound) == (result.refCount > 0));
  for (std::size_t i = 0; i < result.refCount; ++i) {
    const TextureRef& ref = table[i];
    FUZZ_CHECK(ref.lengthOffset == slow.refs[i].lengthOffset);
    FUZZ_CHECK(ref.tailOffset == slow.refs[i].tailOffset);
    // Layout: the type name 28 bytes before the length field, flag 1 just before it.
    FUZZ_CHECK(ref.lengthOffset >= kModelHeader.size() + 28);
    FUZZ_CHECK(NameAt(file, ref.lengthOffset - 28));
    FUZZ_CHECK(file[ref.lengthOffset - 1] == 1);
    FUZZ_CHECK(ref.tailOffset <= file.size());
    FUZZ_CHECK(ref.tailOffset - ref.lengthOffset - 4 == U32At(file, ref.lengthOffset));
    if (i > 0) FUZZ_CHECK(ref.lengthOffset - 28 >= table[i - 1].tailOffset);
    const std::string_view display = TextIn(ref.displayName);
    FUZZ_CHECK(display.size() < kDisplayNameCapacity);
    const Span path = file.subspan(ref.lengthOffset + 4, ref.tailOffset - ref.lengthOffset - 4);
    FUZZ_CHECK(display == ExpectedDisplayName(path));
  }
}

// One copy per reference, built in memory: pieces in file order whose sizes add up to
// the file's size less the old path plus the new name, the bytes before the length field
// and after the old path unchanged.
void CheckCopies(Span file, std::span<const TextureRef> table, std::uint32_t count) {
  std::vector<std::uint8_t> copy;
  for (std::uint32_t i = 0; i < count; ++i) {
    const TextureRef& ref = table[i];
    VariantPieces variant;
    BuildVariantPieces(file, ref, kNewName, variant);
    copy.clear();
    for (const auto& piece : variant.pieces) copy.insert(copy.end(), piece.begin(), piece.end());

    const std::size_t oldPath = ref.tailOffset - ref.lengthOffset - 4;
    FUZZ_CHECK(copy.size() == file.size() - oldPath + kNewName.size());
    FUZZ_CHECK(std::equal(file.begin(), file.begin() + ref.lengthOffset, copy.begin()));
    FUZZ_CHECK(U32At(copy, ref.lengthOffset) == kNewName.size());
    const std::size_t nameAt = ref.lengthOffset + 4;
    FUZZ_CHECK(std::string_view(reinterpret_cast<const char*>(copy.data() + nameAt),
                                kNewName.size()) == kNewName);
    FUZZ_CHECK(std::equal(file.begin() + ref.tailOffset, file.end(),
                          copy.begin() + nameAt + kNewName.size(), copy.end()));
  }
}

// LoadModel over the same bytes: its result, its table and the message it shows.
void CheckLoad(Span file, const ScanResult& result, std::span<const TextureRef> table) {
  // Only the fields loading uses (the whole record is large to clear on every run).
  g_app.modelImage.reset();
  g_app.modelSize = 0;
  g_app.refCount = 0;
  TheStandin() = Standin{};
  CopyText(g_app.modelPath, kMemoryFilePath);
  int loaded = 0;
  {
    ServeFromMemory serve(file);
    loaded = LoadModel();
  }
  FUZZ_CHECK(loaded == (result.status == ScanStatus::kFound ? 1 : 0));
  FUZZ_CHECK(g_app.modelSize == file.size());
  FUZZ_CHECK(g_app.modelImage != nullptr);
  FUZZ_CHECK(std::equal(file.begin(), file.end(), g_app.modelImage.get()));
  FUZZ_CHECK(g_app.refCount == result.refCount);
  for (std::uint32_t i = 0; i < g_app.refCount; ++i) {
    FUZZ_CHECK(g_app.refs[i].lengthOffset == table[i].lengthOffset);
    FUZZ_CHECK(g_app.refs[i].tailOffset == table[i].tailOffset);
    FUZZ_CHECK(TextIn(g_app.refs[i].displayName) == TextIn(table[i].displayName));
  }

  const auto& boxes = TheStandin().messageBoxes;
  const char* expected = result.status == ScanStatus::kNotNetImmerse  ? kMsgNotRecognized
                         : result.status == ScanStatus::kNoReferences ? kMsgNoReferences
                         : result.truncated                           ? kMsgFirstHundred
                                                                      : nullptr;
  FUZZ_CHECK(boxes.size() == (expected ? 1u : 0u));
  if (expected) FUZZ_CHECK(boxes[0].text == expected);
  g_app.modelImage.reset();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Span file(data, size);
  CheckSearch(file);

  static std::array<TextureRef, kMaxTextureRefs> table;
  table.fill(TextureRef{});
  const ScanResult result = ScanTextureRefs(file, table);
  CheckTable(file, result, table, ScanSlowly(file));
  CheckCopies(file, table, result.refCount);
  CheckLoad(file, result, table);
  return 0;
}
