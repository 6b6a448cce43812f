// Source files for tests: page text around the default markers, in each of
// the charsets a source can come in.
#ifndef VANTREL_TESTS_SUPPORT_PAGES_H_
#define VANTREL_TESTS_SUPPORT_PAGES_H_

#include <string>
#include <string_view>

namespace vantrel::testing {

// A page whose body between the default markers is `body` (UTF-8, no
// signature).
inline std::string Page(std::string_view body) {
  return std::string(
             "<html><body>\r\n<Div id=\"E23\">\r\n   <p class=Matn>\r\n") +
         std::string(body) + "   </p>\r\n</Div>\r\n</body></html>\r\n";
}

inline constexpr std::string_view kUtf8Signature = "\xEF\xBB\xBF";
inline constexpr std::string_view kUtf16LeSignature = "\xFF\xFE";
inline constexpr std::string_view kUtf16BeSignature = "\xFE\xFF";

// `ascii` as UTF-16 little-endian or big-endian bytes (ASCII input only).
inline std::string Utf16Le(std::string_view ascii) {
  std::string out;
  for (char c : ascii) out += std::string{c, '\0'};
  return out;
}
inline std::string Utf16Be(std::string_view ascii) {
  std::string out;
  for (char c : ascii) out += std::string{'\0', c};
  return out;
}

}  // namespace vantrel::testing

#endif  // VANTREL_TESTS_SUPPORT_PAGES_H_
