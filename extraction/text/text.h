// Conversions between the engine's UTF-16 text and UTF-8, and the Unicode
// case operations that the run's comparisons use. Everything here goes
// through ICU, so no table of characters or cases is kept by hand.
#ifndef VANTREL_EXTRACTION_TEXT_TEXT_H_
#define VANTREL_EXTRACTION_TEXT_TEXT_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// UTF-8 to text; each ill-formed sequence becomes U+FFFD.
std::u16string Utf8ToText(std::string_view utf8);

// Appends UTF-8 as text to `text`, as Utf8ToText does.
void AppendUtf8AsText(std::string_view utf8, std::u16string& text);

// Appends the code point `c` to `utf8`; a surrogate becomes U+FFFD.
void AppendCodePointAsUtf8(int32_t c, std::string& utf8);

// UTF-8 to text, or nothing when `utf8` is not well-formed UTF-8.
std::optional<std::u16string> StrictUtf8ToText(std::string_view utf8);

// Whether `utf8` is well-formed UTF-8, as U8_NEXT reads it: decoding it
// and encoding the text again gives it back unchanged.
bool IsWellFormedUtf8(std::string_view utf8);

// Text to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string TextToUtf8(std::u16string_view text);

// Appends `text` as UTF-8 to `utf8`, as TextToUtf8 does.
void AppendTextAsUtf8(std::u16string_view text, std::string& utf8);

// `n` in decimal digits, with a minus sign when negative.
std::u16string DecimalText(std::int64_t n);

// Full Unicode lower-casing of each character on its own, independent of
// the user's locale and of the characters around it, so that two texts that
// differ only in letter case always lower-case alike.
std::u16string LowerCase(std::u16string_view text);

// Full Unicode case folding, for comparisons that ignore letter case.
std::u16string FoldCase(std::u16string_view text);

// How long the line break at `at` is: 2 for CR LF, 1 for a lone CR or LF,
// 0 where no line break starts.
std::size_t LineBreakLength(std::u16string_view text, std::size_t at);

// The 1-based line of the text on which the unit `at` stands; CR LF, LF and
// a lone CR each end a line.
int LineAt(std::u16string_view text, std::size_t at);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_TEXT_TEXT_H_
