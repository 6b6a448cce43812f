#include "extraction/text/utf8_decoder.h"

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

// Bit k tells whether byte k of the 32, masked with `mask`, is `value`.
__attribute__((target("avx2"))) inline uint32_t MaskedIs(__m256i bytes,
                                                         int mask, int value) {
  return static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(
      _mm256_and_si256(bytes, _mm256_set1_epi8(static_cast<char>(mask))),
      _mm256_set1_epi8(static_cast<char>(value)))));
}

// DecodeBlocks thirty-two bytes at a time, on processors with AVX2, by the
// same rules; it stops where DecodeBlocks would, or when fewer than 33
// bytes are left. Each 128-bit half of a step's units is compacted on its
// own, as the byte shuffle works within halves.
__attribute__((target("avx2"))) void DecodeWideBlocks(const uint8_t* s,
                                                      int64_t& at,
                                                      int64_t length,
                                                      char16_t*& to) {
  int64_t i = at;
  char16_t* out = to;
  uint32_t carried = 0;
  for (; length - i >= 33; i += 32) {
    const __m256i bytes =
        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
    const auto high = static_cast<uint32_t>(_mm256_movemask_epi8(bytes));
    if (high == 0) {
      auto* const out256 = reinterpret_cast<__m256i*>(out);
      _mm256_storeu_si256(out256,
                          _mm256_cvtepu8_epi16(_mm256_castsi256_si128(bytes)));
      _mm256_storeu_si256(
          out256 + 1, _mm256_cvtepu8_epi16(_mm256_extracti128_si256(bytes, 1)));
      out += 32;
      carried = 0;
      continue;
    }
    const uint32_t trail = MaskedIs(bytes, 0xC0, 0x80);
    const uint32_t lead = MaskedIs(bytes, 0xE0, 0xC0);
    const uint32_t overlong = MaskedIs(bytes, 0xFE, 0xC0);
    const uint32_t last_lead = lead >> 31;
    const uint32_t next_is_trail = (s[i + 32] & 0xC0) == 0x80 ? 1 : 0;
    const uint32_t broken = ((trail | lead) ^ high) | overlong |
                            (trail ^ ((lead << 1) | carried)) |
                            (last_lead & ~next_is_trail);
    if (broken != 0) break;

    const __m256i next =
        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i + 1));
    const uint32_t kept = ~trail;
    for (int half = 0; half < 2; ++half) {
      const __m128i b8 = half == 0 ? _mm256_castsi256_si128(bytes)
                                   : _mm256_extracti128_si256(bytes, 1);
      const __m128i n8 = half == 0 ? _mm256_castsi256_si128(next)
                                   : _mm256_extracti128_si256(next, 1);
      const __m256i b = _mm256_cvtepu8_epi16(b8);
      const __m256i n = _mm256_cvtepu8_epi16(n8);
      const __m256i pair = _mm256_or_si256(
          _mm256_slli_epi16(_mm256_and_si256(b, _mm256_set1_epi16(0x1F)), 6),
          _mm256_and_si256(n, _mm256_set1_epi16(0x3F)));
      const __m256i ascii = _mm256_cmpgt_epi16(_mm256_set1_epi16(0x80), b);
      const __m256i units = _mm256_or_si256(_mm256_and_si256(ascii, b),
                                            _mm256_andnot_si256(ascii, pair));
      const Compaction& low = kCompactions[(kept >> (16 * half)) & 0xFF];
      const Compaction& upper = kCompactions[(kept >> (16 * half + 8)) & 0xFF];
      const __m256i shuffle = _mm256_inserti128_si256(
          _mm256_castsi128_si256(_mm_load_si128(
              reinterpret_cast<const __m128i*>(low.shuffle.data()))),
          _mm_load_si128(
              reinterpret_cast<const __m128i*>(upper.shuffle.data())),
          1);
      const __m256i packed = _mm256_shuffle_epi8(units, shuffle);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                       _mm256_castsi256_si128(packed));
      out += low.count;
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                       _mm256_extracti128_si256(packed, 1));
      out += upper.count;
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
  static const bool wide = __builtin_cpu_supports("avx2");
#endif
  const auto* s = reinterpret_cast<const uint8_t*>(utf8.data());
  const auto length = static_cast<int64_t>(utf8.size());
  char16_t* o = out;
  int64_t i = 0;
  while (i < length) {
#if VANTREL_UTF8_BLOCKS
    if (wide) DecodeWideBlocks(s, i, length, o);
    if (blocks) DecodeBlocks(s, i, length, o);
#endif
    DecodeSequences(s, i, std::min<int64_t>(i + 16, length), length, o);
  }
  return static_cast<std::size_t>(o - out);
}

}  // namespace vantrel
