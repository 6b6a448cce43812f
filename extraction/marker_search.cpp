#include "extraction/marker_search.h"

namespace vantrel {

std::size_t FindMarker(std::u16string_view text, std::u16string_view marker) {
  if (text.empty()) return 0;
  const std::size_t at = text.find(marker);
  return at == std::u16string_view::npos ? 0 : at + 1;
}

}  // namespace vantrel
