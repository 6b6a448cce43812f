#include "extraction/output/json_line.h"

#include <unicode/utf16.h>

#include <cstdint>

#include "extraction/text/native_names.h"
#include "extraction/text/text.h"

namespace vantrel {

void AppendJsonString(std::u16string_view text, std::string& json) {
  constexpr std::string_view kHex = "0123456789abcdef";
  json.push_back('"');
  const auto length = static_cast<int64_t>(text.size());
  for (int64_t i = 0; i < length;) {
    UChar32 c;
    U16_NEXT(text.data(), i, length, c);
    switch (c) {
      case '"':
        json += "\\\"";
        break;
      case '\\':
        json += "\\\\";
        break;
      case '\n':
        json += "\\n";
        break;
      case '\r':
        json += "\\r";
        break;
      case '\t':
        json += "\\t";
        break;
      case '\b':
        json += "\\b";
        break;
      case '\f':
        json += "\\f";
        break;
      default:
        if (c < 0x20) {
          json += "\\u00";
          json.push_back(kHex[static_cast<std::size_t>(c >> 4)]);
          json.push_back(kHex[static_cast<std::size_t>(c & 0xF)]);
        } else {
          AppendCodePointAsUtf8(U_IS_SURROGATE(c) ? 0xFFFD : c, json);
        }
    }
  }
  json.push_back('"');
}

std::string JsonLine(std::u16string_view name, std::u16string_view piece) {
  std::string line = "{\"file\":";
  AppendJsonString(name, line);
  // A name that is not valid UTF-8 shows U+FFFD above; its exact bytes go
  // beside it in hex, as in vantrel-cli's JSON report.
  const std::string bytes = TextToNative(name);
  if (!StrictUtf8ToText(bytes)) {
    constexpr std::string_view kHex = "0123456789abcdef";
    line += ",\"file_bytes\":\"";
    for (const unsigned char byte : bytes) {
      line.push_back(kHex[byte >> 4]);
      line.push_back(kHex[byte & 0xF]);
    }
    line.push_back('"');
  }
  line += ",\"piece\":";
  AppendJsonString(piece, line);
  line += "}\n";
  return line;
}

}  // namespace vantrel
