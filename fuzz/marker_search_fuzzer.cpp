// The marker search, in units and in bytes, against a plain reference: the
// first place at which every unit of the marker matches (here counted from
// 1, 0 for none).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "extraction/match/marker_search.h"
#include "fuzz/fuzz_check.h"

namespace {

std::size_t PlainSearch(std::u16string_view text, std::u16string_view marker) {
  if (text.empty()) return 0;
  for (std::size_t at = 0; at + marker.size() <= text.size(); ++at) {
    bool same = true;
    for (std::size_t i = 0; i < marker.size() && same; ++i) {
      same = text[at + i] == marker[i];
    }
    if (same) return at + 1;
  }
  return 0;
}

// Units from a small alphabet, so that matches are common; a few stand for
// surrogates and the line break.
std::u16string Units(const uint8_t* data, size_t size) {
  static constexpr char16_t kAlphabet[] = {u'a',   u'b',   u'\r', u'\n',
                                           0xD83D, 0xDE00, u'<',  0xFEFF};
  std::u16string out;
  for (size_t i = 0; i < size; ++i) out.push_back(kAlphabet[data[i] % 8]);
  return out;
}

// The units' low bytes, which are distinct over the alphabet.
std::string LowBytes(std::u16string_view units) {
  std::string bytes;
  for (char16_t unit : units) bytes.push_back(static_cast<char>(unit));
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t marker_size = std::min<size_t>(data[0] % 16, size - 1);
  const std::u16string marker = Units(data + 1, marker_size);
  const std::u16string text =
      Units(data + 1 + marker_size, size - 1 - marker_size);
  const auto found = vantrel::FindMarker(text, marker);
  vantrel::fuzz::Check(
      (found ? found->begin + 1 : 0) == PlainSearch(text, marker),
      "the marker search agrees with the plain one");
  vantrel::fuzz::Check(!found || found->size() == marker.size(),
                       "a match is as long as the marker");
  const auto in_bytes = vantrel::FindBytes(LowBytes(text), LowBytes(marker));
  vantrel::fuzz::Check(in_bytes == found,
                       "the search in bytes finds the same place");
  return 0;
}
