#include "extraction/marker_search.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vantrel {
namespace {

// Whether the marker stands at t[at...]; its first and last units are known
// to match there.
bool MarkerAt(const char16_t* t, std::size_t at, std::u16string_view marker) {
  return marker.size() <= 2 ||
         std::memcmp(t + at + 1, marker.data() + 1,
                     (marker.size() - 2) * sizeof(char16_t)) == 0;
}

// The first place where the marker stands, or npos. Places where the text
// has the marker's first unit and, the marker's length further on, its last
// unit are rare in any real text, so only they are compared in full; on
// processors with SSE2 eight places are tested at once.
std::size_t FirstPlace(std::u16string_view text, std::u16string_view marker) {
  const char16_t* const t = text.data();
  const std::size_t last = marker.size() - 1;
  const std::size_t places = text.size() - last;  // where the marker fits
  const char16_t first_unit = marker.front(), last_unit = marker.back();
  std::size_t at = 0;
#if defined(__SSE2__)
  const __m128i firsts = _mm_set1_epi16(static_cast<short>(first_unit));
  const __m128i lasts = _mm_set1_epi16(static_cast<short>(last_unit));
  for (; at + 8 <= places; at += 8) {
    const __m128i heads =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + at));
    const __m128i tails =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + at + last));
    // Two bits per place, both set where first and last unit match.
    auto both = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(
        _mm_cmpeq_epi16(heads, firsts), _mm_cmpeq_epi16(tails, lasts))));
    for (; both != 0; both &= both - 1, both &= both - 1) {
      const std::size_t place = at + __builtin_ctz(both) / 2;
      if (MarkerAt(t, place, marker)) return place;
    }
  }
#endif
  for (; at < places; ++at) {
    if (t[at] == first_unit && t[at + last] == last_unit &&
        MarkerAt(t, at, marker)) {
      return at;
    }
  }
  return std::u16string_view::npos;
}

}  // namespace

std::optional<TextRange> FindMarker(std::u16string_view text,
                                    std::u16string_view marker) {
  if (text.empty() || marker.size() > text.size()) return std::nullopt;
  if (marker.empty()) return TextRange{0, 0};
  const std::size_t at = FirstPlace(text, marker);
  if (at == std::u16string_view::npos) return std::nullopt;
  return TextRange{at, at + marker.size()};
}

}  // namespace vantrel
