// The start-up values of the window's input fields, which the command line
// takes as its defaults too. The markers match the body text of the typical
// saved page: a Div with id E23 around a paragraph of class Matn, with
// Windows line breaks.
#ifndef VANTREL_EXTRACTION_DEFAULTS_H_
#define VANTREL_EXTRACTION_DEFAULTS_H_

#include <string_view>

namespace vantrel {

inline constexpr std::u16string_view kDefaultStartMarker =
    u"<Div id=\"E23\">\r\n   <p class=Matn>\r\n";
inline constexpr std::u16string_view kDefaultEndMarker =
    u"   </p>\r\n</Div>\r\n";
inline constexpr std::u16string_view kDefaultExtension = u"htm";

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_DEFAULTS_H_
