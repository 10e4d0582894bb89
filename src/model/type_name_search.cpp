#include "model/type_name_search.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

// The vector search needs SSE2. Every x86-64 processor has it, so there it is compiled in
// plainly. The 32-bit build targets processors without it: there the vector functions are
// compiled for SSE2 alone and run only after the processor was asked whether it has it.
#if defined(__SSE2__)
#define TEXMINT_VECTOR_SEARCH 1
#define TEXMINT_SSE2_CODE
#define TEXMINT_SSE2_ENTRY
#elif defined(__i386__) && defined(__GNUC__)
#define TEXMINT_VECTOR_SEARCH 1
#define TEXMINT_SSE2_CODE __attribute__((target("sse2")))
// 32-bit Windows calls the dialog procedure with the stack aligned to 4 bytes only, while
// SSE2 values kept on the stack need 16: the entry to the vector code aligns it.
#define TEXMINT_SSE2_ENTRY __attribute__((target("sse2"), force_align_arg_pointer))
#else
#define TEXMINT_VECTOR_SEARCH 0
#endif

#if TEXMINT_VECTOR_SEARCH
#include <emmintrin.h>
#endif

namespace {

// The type name's search. "N" occurs in the name only at its start, so matches never
// overlap, and a failed candidate tells how far the next one can be at the least.
constexpr std::size_t kNameSize = kTextureTypeName.size();
constexpr std::size_t kLastIndex = kNameSize - 1;
constexpr auto kFirstByte = static_cast<std::uint8_t>(kTextureTypeName.front());
constexpr auto kLastByte = static_cast<std::uint8_t>(kTextureTypeName.back());

// For the byte found where a candidate's last byte would be: the distance to the next
// start at which that byte fits the name (the name's length where it fits nowhere).
constexpr std::array<std::uint8_t, 256> kSkip = [] {
  std::array<std::uint8_t, 256> skip{};
  skip.fill(static_cast<std::uint8_t>(kNameSize));
  for (std::size_t i = 0; i < kLastIndex; ++i) {
    skip[static_cast<std::uint8_t>(kTextureTypeName[i])] =
        static_cast<std::uint8_t>(kLastIndex - i);
  }
  return skip;
}();

// Whether the name's bytes start at `at`: two overlapping 8-byte words, compared inline. A
// memcmp of 15 bytes is inlined by the 64-bit build but called in the 32-bit one, once per
// candidate, which on content full of records costs that build a call every 15 bytes.
static_assert(kNameSize > 8 && kNameSize <= 16);
inline bool NameAt(const std::uint8_t* at) {
  std::uint64_t head, tail, wantHead, wantTail;
  std::memcpy(&head, at, 8);
  std::memcpy(&tail, at + kNameSize - 8, 8);
  std::memcpy(&wantHead, kTextureTypeName.data(), 8);
  std::memcpy(&wantTail, kTextureTypeName.data() + kNameSize - 8, 8);
  return head == wantHead && tail == wantTail;
}

// The first match starting in [from, starts), or `starts`; the name's bytes from any
// start below `starts` lie inside the data. Each "N" found by memchr is judged by the
// byte where the name would end, which also says how far to move on when it fails: on
// runs of "N" or of near matches the search advances by up to the name's length.
std::size_t FindByFirstByte(const std::uint8_t* data, std::size_t from, std::size_t starts) {
  while (from < starts) {
    std::size_t at = from;
    // After a skip the next "N" is often right there, as in a run of them.
    if (data[at] != kFirstByte) {
      const void* hit = std::memchr(data + from, kFirstByte, starts - from);
      if (hit == nullptr) break;
      at = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - data);
    }
    const std::uint8_t last = data[at + kLastIndex];
    if (last == kLastByte && NameAt(data + at)) {
      return at;
    }
    from = at + kSkip[last];
  }
  return starts;
}

#if TEXMINT_VECTOR_SEARCH
// Start positions examined at once by the vector filter.
constexpr std::size_t kBlock = 64;
// How far ahead of the filter the bytes are asked for. A large image streams in from
// memory, and without the hint the filter waits for every page's first bytes.
constexpr std::size_t kPrefetchDistance = 4096;

// Bit i is set when the block's byte i is the name's first byte and byte i + kLastIndex
// its last: the only places a match can start. Reads bytes [0, kBlock + kLastIndex).
TEXMINT_SSE2_CODE inline std::uint64_t CandidateBits(const std::uint8_t* block) {
  constexpr std::size_t kLanes = 16;
  const __m128i first = _mm_set1_epi8(static_cast<char>(kFirstByte));
  const __m128i last = _mm_set1_epi8(static_cast<char>(kLastByte));
  constexpr std::size_t kVectors = kBlock / kLanes;
  __m128i both[kVectors];  // a std::array would drop the vector type's alignment attribute
  __m128i any = _mm_setzero_si128();
  for (std::size_t i = 0; i < kVectors; ++i) {
    const auto* at = block + i * kLanes;
    const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + kLastIndex));
    both[i] = _mm_and_si128(_mm_cmpeq_epi8(head, first), _mm_cmpeq_epi8(tail, last));
    any = _mm_or_si128(any, both[i]);
  }
  // Nearly every block has no candidate; its bits are gathered only when it has one.
  if (_mm_movemask_epi8(any) == 0) return 0;
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < kVectors; ++i) {
    bits |= std::uint64_t(static_cast<std::uint16_t>(_mm_movemask_epi8(both[i]))) << (i * kLanes);
  }
  return bits;
}

// The first match starting in [from, starts), or `starts`, as FindByFirstByte finds it.
TEXMINT_SSE2_ENTRY std::size_t FindByBlocks(const std::uint8_t* data, std::size_t size,
                                            std::size_t from, std::size_t starts) {
  // Records often follow one another closely, and there the byte search is quicker than
  // filling a block; the blocks take over once the next match is not close by.
  const std::size_t nearEnd = std::min(starts, from + kBlock);
  if (const std::size_t near = FindByFirstByte(data, from, nearEnd); near < nearEnd) return near;
  from = nearEnd;
  // Whole blocks: a block at `from` reads bytes up to from + kBlock - 1 + kLastIndex.
  while (starts - from >= kBlock) {
    if (size - from > kPrefetchDistance) {
      _mm_prefetch(reinterpret_cast<const char*>(data + from + kPrefetchDistance), _MM_HINT_T0);
    }
    for (std::uint64_t bits = CandidateBits(data + from); bits != 0; bits &= bits - 1) {
      const std::size_t at = from + static_cast<std::size_t>(std::countr_zero(bits));
      if (NameAt(data + at)) return at;
    }
    from += kBlock;
  }
  // The last positions, fewer than a block.
  return FindByFirstByte(data, from, starts);
}
#endif

bool ProcessorHasSse2() {
#if defined(__SSE2__)
  return true;
#elif TEXMINT_VECTOR_SEARCH
  __builtin_cpu_init();  // harmless when the runtime has done it already
  return __builtin_cpu_supports("sse2");
#else
  return false;
#endif
}

// Records often follow one another, and the scan asks for the next name right after one: a
// name at `from` itself is answered before any search (the same answer, found sooner).
bool NameRightAt(std::span<const std::uint8_t> file, std::size_t from) {
  return from <= file.size() && file.size() - from >= kNameSize && NameAt(file.data() + from);
}

// The first match at or after `from`, or file.size(), by blocks or by the first byte.
std::size_t Find(bool vector, std::span<const std::uint8_t> file, std::size_t from) {
  const std::uint8_t* const data = file.data();
  const std::size_t size = file.size();
  if (size < kNameSize || from > size - kNameSize) return size;
  // Positions below `starts` leave room for the whole name.
  const std::size_t starts = size - kNameSize + 1;
#if TEXMINT_VECTOR_SEARCH
  const std::size_t at =
      vector ? FindByBlocks(data, size, from, starts) : FindByFirstByte(data, from, starts);
#else
  (void)vector;
  const std::size_t at = FindByFirstByte(data, from, starts);
#endif
  return at < starts ? at : size;
}

}  // namespace

TypeNameSearch BestTypeNameSearch() {
  static const TypeNameSearch best =
      ProcessorHasSse2() ? TypeNameSearch::kVector : TypeNameSearch::kBytes;
  return best;
}

std::size_t FindTextureTypeName(std::span<const std::uint8_t> file, std::size_t from) {
  if (NameRightAt(file, from)) return from;
  return Find(BestTypeNameSearch() == TypeNameSearch::kVector, file, from);
}

std::size_t FindTextureTypeNameWith(TypeNameSearch search, std::span<const std::uint8_t> file,
                                    std::size_t from) {
  if (NameRightAt(file, from)) return from;
  return Find(search == TypeNameSearch::kVector && BestTypeNameSearch() == TypeNameSearch::kVector,
              file, from);
}
