#include "extraction/match/marker_search.h"

#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#define VANTREL_SEARCH_AVX2 1
#else
#define VANTREL_SEARCH_AVX2 0
#endif
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vantrel {
namespace {

// Whether the marker stands at t[at...]; its first and last units are known
// to match there.
template <typename Unit>
bool MarkerAt(const Unit* t, std::size_t at,
              std::basic_string_view<Unit> marker) {
  return marker.size() <= 2 ||
         std::memcmp(t + at + 1, marker.data() + 1,
                     (marker.size() - 2) * sizeof(Unit)) == 0;
}

#if VANTREL_SEARCH_AVX2

// FirstPlace's test on 32 bytes of places at a time, from `at` for as long
// as whole steps fit; `at` is left where it stopped.
template <typename Unit>
__attribute__((target("avx2"))) std::size_t FirstPlaceAvx2(
    const Unit* t, std::size_t& at, std::size_t places,
    std::basic_string_view<Unit> marker) {
  constexpr std::size_t kStep = 32 / sizeof(Unit);
  const std::size_t last = marker.size() - 1;
  __m256i firsts, lasts;
  if constexpr (sizeof(Unit) == 1) {
    firsts = _mm256_set1_epi8(static_cast<char>(marker.front()));
    lasts = _mm256_set1_epi8(static_cast<char>(marker.back()));
  } else {
    firsts = _mm256_set1_epi16(static_cast<short>(marker.front()));
    lasts = _mm256_set1_epi16(static_cast<short>(marker.back()));
  }
  for (; at + kStep <= places; at += kStep) {
    const __m256i heads =
        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(t + at));
    const __m256i tails =
        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(t + at + last));
    __m256i match;
    if constexpr (sizeof(Unit) == 1) {
      match = _mm256_and_si256(_mm256_cmpeq_epi8(heads, firsts),
                               _mm256_cmpeq_epi8(tails, lasts));
    } else {
      match = _mm256_and_si256(_mm256_cmpeq_epi16(heads, firsts),
                               _mm256_cmpeq_epi16(tails, lasts));
    }
    auto both = static_cast<unsigned>(_mm256_movemask_epi8(match));
    while (both != 0) {
      const std::size_t place = at + __builtin_ctz(both) / sizeof(Unit);
      if (MarkerAt(t, place, marker)) return place;
      for (std::size_t bit = 0; bit < sizeof(Unit); ++bit) both &= both - 1;
    }
  }
  return std::basic_string_view<Unit>::npos;
}

#endif  // VANTREL_SEARCH_AVX2

// The first place where the marker stands, or npos. Places where the text
// has the marker's first unit and, the marker's length further on, its last
// unit are rare in any real text, so only they are compared in full; on
// processors with AVX2 thirty-two bytes of places are tested at once, with
// SSE2 sixteen.
template <typename Unit>
std::size_t FirstPlace(std::basic_string_view<Unit> text,
                       std::basic_string_view<Unit> marker) {
  const Unit* const t = text.data();
  const std::size_t last = marker.size() - 1;
  const std::size_t places = text.size() - last;  // where the marker fits
  const Unit first_unit = marker.front(), last_unit = marker.back();
  std::size_t at = 0;
#if VANTREL_SEARCH_AVX2
  static const bool avx2 = __builtin_cpu_supports("avx2");
  if (avx2) {
    const std::size_t place = FirstPlaceAvx2(t, at, places, marker);
    if (place != std::basic_string_view<Unit>::npos) return place;
  }
#endif
#if defined(__SSE2__)
  constexpr std::size_t kStep = 16 / sizeof(Unit);
  const auto splat = [](Unit unit) {
    if constexpr (sizeof(Unit) == 1) {
      return _mm_set1_epi8(static_cast<char>(unit));
    } else {
      return _mm_set1_epi16(static_cast<short>(unit));
    }
  };
  const auto equal = [](__m128i a, __m128i b) {
    if constexpr (sizeof(Unit) == 1) {
      return _mm_cmpeq_epi8(a, b);
    } else {
      return _mm_cmpeq_epi16(a, b);
    }
  };
  const __m128i firsts = splat(first_unit);
  const __m128i lasts = splat(last_unit);
  for (; at + kStep <= places; at += kStep) {
    const __m128i heads =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + at));
    const __m128i tails =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + at + last));
    // sizeof(Unit) bits per place, all set where first and last unit match.
    auto both = static_cast<unsigned>(_mm_movemask_epi8(
        _mm_and_si128(equal(heads, firsts), equal(tails, lasts))));
    while (both != 0) {
      const std::size_t place = at + __builtin_ctz(both) / sizeof(Unit);
      if (MarkerAt(t, place, marker)) return place;
      for (std::size_t bit = 0; bit < sizeof(Unit); ++bit) both &= both - 1;
    }
  }
#endif
  for (; at < places; ++at) {
    if (t[at] == first_unit && t[at + last] == last_unit &&
        MarkerAt(t, at, marker)) {
      return at;
    }
  }
  return std::basic_string_view<Unit>::npos;
}

template <typename Unit>
std::optional<TextRange> Find(std::basic_string_view<Unit> text,
                              std::basic_string_view<Unit> marker) {
  if (text.empty() || marker.size() > text.size()) return std::nullopt;
  if (marker.empty()) return TextRange{0, 0};
  const std::size_t at = FirstPlace(text, marker);
  if (at == std::basic_string_view<Unit>::npos) return std::nullopt;
  return TextRange{at, at + marker.size()};
}

}  // namespace

std::optional<TextRange> FindMarker(std::u16string_view text,
                                    std::u16string_view marker) {
  return Find(text, marker);
}

std::optional<TextRange> FindBytes(std::string_view bytes,
                                   std::string_view marker) {
  return Find(bytes, marker);
}

}  // namespace vantrel
