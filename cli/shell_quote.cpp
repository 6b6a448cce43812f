#include "cli/shell_quote.h"

namespace vantrel::cli {
namespace {

void AppendHex(unsigned char byte, std::string& out) {
  static constexpr char kHex[] = "0123456789abcdef";
  // Always two digits: bash's \x takes one or two, so a single digit could
  // swallow a hex digit that follows it.
  out += "\\x";
  out += kHex[byte >> 4];
  out += kHex[byte & 0xF];
}

bool PlainInAnyShell(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
         (c >= '0' && c <= '9') || c == '/' || c == '.' || c == '_' ||
         c == '-' || c == '+' || c == ',' || c == ':' || c == '@' || c == '%';
}

}  // namespace

std::string AnsiCQuoted(std::string_view bytes) {
  std::string out = "$'";
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    switch (c) {
      case '\r':
        out += "\\r";
        continue;
      case '\n':
        out += "\\n";
        continue;
      case '\t':
        out += "\\t";
        continue;
      case '\\':
        out += "\\\\";
        continue;
      case '\'':
        out += "\\'";
        continue;
      default:
        break;
    }
    if (c < 0x20 || c == 0x7F) {
      AppendHex(c, out);
    } else if (c == 0xC2 && i + 1 < bytes.size() &&
               static_cast<unsigned char>(bytes[i + 1]) >= 0x80 &&
               static_cast<unsigned char>(bytes[i + 1]) <= 0x9F) {
      // U+0080 to U+009F, which some terminals obey as commands.
      AppendHex(c, out);
      AppendHex(static_cast<unsigned char>(bytes[++i]), out);
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "'";
}

std::string ShellWord(std::string_view bytes) {
  bool plain = !bytes.empty();
  for (const char c : bytes) {
    plain = plain && PlainInAnyShell(static_cast<unsigned char>(c));
  }
  return plain ? std::string(bytes) : AnsiCQuoted(bytes);
}

}  // namespace vantrel::cli
