// The names that web pages give their charsets, as web browsers read them,
// and the ICU converter that decodes each charset.
#ifndef VANTREL_EXTRACTION_TEXT_CHARSET_LABELS_H_
#define VANTREL_EXTRACTION_TEXT_CHARSET_LABELS_H_

#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// The charset that a label names in web browsers' label table, letter case
// and surrounding white space ignored: "windows-1252" for "latin1",
// "Shift_JIS" for "x-sjis", "GBK" for "gb2312". Labels of charsets that ICU
// cannot decode (ISO-8859-16, the "replacement" ones, x-user-defined) name
// none. A page that declares UTF-16 in its bytes is not UTF-16 (it could
// not have been read so far), so the UTF-16 labels name UTF-8.
std::optional<std::string> CharsetOfLabel(std::string_view label);

// The name of the ICU converter that decodes the charset as web browsers
// do: "windows-949" for "EUC-KR", "windows-31j" for "Shift_JIS"; the name
// itself for the others.
std::string_view ConverterOf(std::string_view charset);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_TEXT_CHARSET_LABELS_H_
