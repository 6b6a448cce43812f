#include "extraction/utf8_decoder.h"

#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <array>
#include <cstdint>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define VANTREL_UTF8_BLOCKS 1
#else
#define VANTREL_UTF8_BLOCKS 0
#endif

namespace vantrel {
namespace {

// Decodes one sequence after another from s[i] until i reaches `until`
// (the last sequence may end beyond it).
void DecodeSequences(const uint8_t* s, int64_t& i, int64_t until,
                     int64_t length, char16_t*& out) {
  while (i < until) {
    if (s[i] < 0x80) {
      *out++ = s[i++];
      continue;
    }
    UChar32 c;
    U8_NEXT(s, i, length, c);
    if (c < 0) c = 0xFFFD;
    if (U_IS_BMP(c)) {
      *out++ = static_cast<char16_t>(c);
    } else {
      *out++ = U16_LEAD(c);
      *out++ = U16_TRAIL(c);
    }
  }
}

#if VANTREL_UTF8_BLOCKS

// For each set of kept lanes among eight 16-bit lanes: the byte shuffle that
// moves the kept ones to the front, in order, and how many they are.
struct Compaction {
  alignas(16) std::array<uint8_t, 16> shuffle;
  int count;
};

constexpr std::array<Compaction, 256> MakeCompactions() {
  std::array<Compaction, 256> table{};
  for (int kept = 0; kept < 256; ++kept) {
    Compaction& c = table[kept];
    c.shuffle.fill(0x80);  // a lane past the kept ones becomes 0
    for (int lane = 0; lane < 8; ++lane) {
      if (((kept >> lane) & 1) == 0) continue;
      c.shuffle[2 * c.count] = static_cast<uint8_t>(2 * lane);
      c.shuffle[2 * c.count + 1] = static_cast<uint8_t>(2 * lane + 1);
      ++c.count;
    }
  }
  return table;
}

constexpr std::array<Compaction, 256> kCompactions = MakeCompactions();

// Decodes 16 bytes at a time from s[at] on, for as long as they hold only
// ASCII and well-formed two-byte sequences, and stops at the first 16 that
// hold anything else or when fewer than 17 are left. A pair cut by the end
// of 16 bytes is decoded with them, its second byte being the next block's
// first. The stores may run up to 16 units past the text written, all within
// the room that one unit per byte gives.
__attribute__((target("ssse3"))) void DecodeBlocks(const uint8_t* s,
                                                   int64_t& at, int64_t length,
                                                   char16_t*& to) {
  // Local copies: the vector stores could alias the caller's variables.
  int64_t i = at;
  char16_t* out = to;
  const __m128i zero = _mm_setzero_si128();
  // 1 when the block's first byte ends a pair that the last block decoded.
  unsigned carried = 0;
  for (; length - i >= 17; i += 16) {
    const __m128i bytes =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    const auto high = static_cast<unsigned>(_mm_movemask_epi8(bytes));
    if (high == 0) {
      auto* const out128 = reinterpret_cast<__m128i*>(out);
      _mm_storeu_si128(out128, _mm_unpacklo_epi8(bytes, zero));
      _mm_storeu_si128(out128 + 1, _mm_unpackhi_epi8(bytes, zero));
      out += 16;
      carried = 0;
      continue;
    }

    // Bit k of each mask tells whether byte k, masked, has the value.
    const auto masked_is = [&](int mask, int value) {
      return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(
          _mm_and_si128(bytes, _mm_set1_epi8(static_cast<char>(mask))),
          _mm_set1_epi8(static_cast<char>(value)))));
    };
    const unsigned trail = masked_is(0xC0, 0x80);
    const unsigned lead = masked_is(0xE0, 0xC0);
    const unsigned overlong = masked_is(0xFE, 0xC0);  // C0, C1 lead nothing
    const unsigned last_lead = lead >> 15;
    const unsigned next_is_trail = (s[i + 16] & 0xC0) == 0x80 ? 1 : 0;
    // One test for all the rules, as bits: branches on them would follow
    // the text's letters and be mispredicted.
    const unsigned broken = ((trail | lead) ^ high) | overlong |
                            (trail ^ (((lead << 1) | carried) & 0xFFFF)) |
                            (last_lead & ~next_is_trail);
    if (broken != 0) break;

    // Each lane's unit as if a character began there: its byte for ASCII,
    // the pair's character for a lead byte. Trail bytes' lanes are dropped.
    const __m128i next =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 1));
    const unsigned kept = ~trail & 0xFFFF;
    for (int half = 0; half < 2; ++half) {
      const __m128i b = half == 0 ? _mm_unpacklo_epi8(bytes, zero)
                                  : _mm_unpackhi_epi8(bytes, zero);
      const __m128i n = half == 0 ? _mm_unpacklo_epi8(next, zero)
                                  : _mm_unpackhi_epi8(next, zero);
      const __m128i pair = _mm_or_si128(
          _mm_slli_epi16(_mm_and_si128(b, _mm_set1_epi16(0x1F)), 6),
          _mm_and_si128(n, _mm_set1_epi16(0x3F)));
      const __m128i ascii = _mm_cmplt_epi16(b, _mm_set1_epi16(0x80));
      const __m128i units =
          _mm_or_si128(_mm_and_si128(ascii, b), _mm_andnot_si128(ascii, pair));
      const Compaction& c = kCompactions[(kept >> (8 * half)) & 0xFF];
      const __m128i shuffle =
          _mm_load_si128(reinterpret_cast<const __m128i*>(c.shuffle.data()));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                       _mm_shuffle_epi8(units, shuffle));
      out += c.count;
    }
    carried = last_lead;
  }
  at = i + carried;  // that byte is decoded already
  to = out;
}

#endif  // VANTREL_UTF8_BLOCKS

}  // namespace

std::size_t Utf8ToUnits(std::string_view utf8, char16_t* out) {
#if VANTREL_UTF8_BLOCKS
  static const bool blocks = __builtin_cpu_supports("ssse3");
#endif
  const auto* s = reinterpret_cast<const uint8_t*>(utf8.data());
  const auto length = static_cast<int64_t>(utf8.size());
  char16_t* o = out;
  int64_t i = 0;
  while (i < length) {
#if VANTREL_UTF8_BLOCKS
    if (blocks) DecodeBlocks(s, i, length, o);
#endif
    DecodeSequences(s, i, std::min<int64_t>(i + 16, length), length, o);
  }
  return static_cast<std::size_t>(o - out);
}

}  // namespace vantrel
