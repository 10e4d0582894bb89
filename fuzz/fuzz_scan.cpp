// Arbitrary bytes as a model file: the search and the scan must agree with the format read
// the plain way, a copy must be the file with its paths replaced, and LoadModel must load
// what the scan found and say what it did not. Replayed over the seed corpus, whose files
// hold the format's edge cases, it is the scan's test as well.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "common/app_state.h"
#include "fuzz_check.h"
#include "interpreter/model_bytes.h"
#include "model/load_model.h"
#include "model/stored_path.h"
#include "model/texture_scan.h"
#include "model/type_name_search.h"
#include "standin/ui_standin.h"
#include "variants/variant_writer.h"

namespace {

using Span = std::span<const std::uint8_t>;

// Both searches, the byte search and the vector one the processor may have, from every
// start in a small file (so that every place in a block is met), from a few in a large one.
void CheckSearch(Span bytes, std::string_view file) {
#if defined(__SSE2__)
  FUZZ_CHECK(BestTypeNameSearch() == TypeNameSearch::kVector);  // the program uses it
#endif
  const std::size_t step = file.size() <= 4096 ? 1 : file.size() / 3;
  for (const TypeNameSearch search : {TypeNameSearch::kBytes, BestTypeNameSearch()}) {
    for (std::size_t from = 0; from <= file.size(); from += step)
      FUZZ_CHECK(FindTextureTypeNameWith(search, bytes, from) ==
                 std::min(file.find(kTextureTypeName, from), file.size()));
  }
}

// LoadModel reads through the file layer, here from a file in memory.
void CheckLoad(std::string_view file, const ScanResult& scan, std::span<const TextureRef> table) {
  static const int fd = memfd_create("model", 0);
  FUZZ_CHECK(ftruncate(fd, 0) == 0 &&
             pwrite(fd, file.data(), file.size(), 0) == ssize_t(file.size()));
  std::snprintf(g_app.modelPath, sizeof g_app.modelPath, "/proc/self/fd/%d", fd);
  TheStandin().messageBoxes.clear();
  const int loaded = LoadModel();
  FUZZ_CHECK(loaded == (scan.status == ScanStatus::kFound));
  FUZZ_CHECK(g_app.modelSize == file.size() && g_app.refCount == scan.refCount);
  FUZZ_CHECK(std::memcmp(file.data(), g_app.modelImage.get(), file.size()) == 0);
  for (std::uint32_t i = 0; i < scan.refCount; ++i)
    FUZZ_CHECK(std::string_view(g_app.refs[i].displayName) == table[i].displayName);
  const char* told = scan.status == ScanStatus::kNotNetImmerse  ? kMsgNotRecognized
                     : scan.status == ScanStatus::kNoReferences ? kMsgNoReferences
                     : scan.truncated                           ? kMsgFirstHundred
                                                                : nullptr;
  const auto& boxes = TheStandin().messageBoxes;
  FUZZ_CHECK(boxes.size() == (told ? 1u : 0u) && (!told || boxes[0].text == told));
  g_app.modelImage.reset();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Span bytes(data, size);
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  CheckSearch(bytes, file);

  static std::array<TextureRef, kMaxTextureRefs> table;
  const ScanResult scan = ScanTextureRefs(bytes, table);
  const std::vector<RefSpan> refs = ReferenceScan(file);
  FUZZ_CHECK(scan.refCount == std::min(refs.size(), kMaxTextureRefs));
  FUZZ_CHECK(scan.truncated == (refs.size() > kMaxTextureRefs));
  FUZZ_CHECK((scan.status == ScanStatus::kNotNetImmerse) ==
             !file.starts_with("NetImmerse File Format"));
  // One copy with every reference replaced, by paths shorter and longer than the old ones.
  std::vector<PathEdit> edits;
  std::vector<std::pair<RefSpan, std::string>> replaced;
  for (std::uint32_t i = 0; i < scan.refCount; ++i) {
    FUZZ_CHECK(table[i].lengthOffset == refs[i].lengthOffset &&
               table[i].tailOffset == refs[i].tailOffset);
    // The path after its last backslash, up to its first zero byte, cut to 199 bytes.
    std::string_view path =
        file.substr(refs[i].lengthOffset + 4, refs[i].tailOffset - refs[i].lengthOffset - 4);
    path = path.substr(0, path.find('\0'));
    FUZZ_CHECK(StoredPath(bytes, table[i]) == path);
    path = path.substr(path.rfind('\\') + 1);
    FUZZ_CHECK(table[i].displayName == path.substr(0, kDisplayNameCapacity - 1));
    path = i % 2 ? "a.dds" : "textures\\replaced\\by_fuzz.dds";
    edits.push_back({table[i].lengthOffset, table[i].tailOffset, path});
    replaced.emplace_back(refs[i], path);
  }
  VariantPieces variant;
  BuildVariantPieces(bytes, edits, variant);
  std::string copy;
  for (const auto& piece : variant.pieces) copy.append(piece.begin(), piece.end());
  FUZZ_CHECK(copy == Replaced(file, replaced));
  CheckLoad(file, scan, table);
  return 0;
}
