// Decoding UTF-8 into the engine's UTF-16 text, fast enough that a run over
// thousands of pages goes about as fast as reading them.
//
// Each ill-formed sequence becomes one U+FFFD, by the same rule as ICU's
// U8_NEXT. Text made only of ASCII and two-byte sequences (Arabic, like every
// alphabet from U+0080 to U+07FF) goes thirty-two bytes at a time on
// processors with AVX2, sixteen with SSSE3; everything else goes one
// sequence at a time.
#ifndef VANTREL_EXTRACTION_TEXT_UTF8_DECODER_H_
#define VANTREL_EXTRACTION_TEXT_UTF8_DECODER_H_

#include <cstddef>
#include <string_view>

namespace vantrel {

// Writes `utf8` as UTF-16 to `out`, which has room for utf8.size() units
// (never more are needed); returns how many units it wrote.
std::size_t Utf8ToUnits(std::string_view utf8, char16_t* out);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_TEXT_UTF8_DECODER_H_
