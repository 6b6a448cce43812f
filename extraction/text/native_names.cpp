#include "extraction/text/native_names.h"

#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include "extraction/text/text.h"

namespace vantrel {
namespace {

constexpr char16_t kEscapedByteBase = 0xDC00;
constexpr char16_t kReplacement = 0xFFFD;

bool IsEscapedByte(UChar32 c) { return c >= 0xDC80 && c <= 0xDCFF; }

bool IsControl(UChar32 c) {
  return c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F);
}

// Appends `c` as one UTF-16 unit, or as two for a supplementary character.
void AppendCodePoint(UChar32 c, std::u16string& out) {
  char16_t units[U16_MAX_LENGTH];
  int32_t n = 0;
  U16_APPEND_UNSAFE(units, n, c);
  out.append(units, static_cast<std::size_t>(n));
}

}  // namespace

std::u16string NativeToText(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  const auto* s = reinterpret_cast<const uint8_t*>(bytes.data());
  const auto length = static_cast<int64_t>(bytes.size());
  int64_t i = 0;
  while (i < length) {
    const int64_t start = i;
    UChar32 c;
    U8_NEXT(s, i, length, c);
    if (c < 0) {
      // Only bytes 0x80 to 0xFF can be part of an ill-formed sequence.
      for (int64_t j = start; j < i; ++j) {
        out.push_back(static_cast<char16_t>(kEscapedByteBase | s[j]));
      }
    } else {
      AppendCodePoint(c, out);
    }
  }
  return out;
}

std::string TextToNative(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  const auto length = static_cast<int64_t>(text.size());
  for (int64_t i = 0; i < length;) {
    UChar32 c;
    U16_NEXT(text.data(), i, length, c);
    if (IsEscapedByte(c)) {
      out.push_back(static_cast<char>(c & 0xFF));
      continue;
    }
    AppendCodePointAsUtf8(c, out);
  }
  return out;
}

std::filesystem::path NativePath(std::u16string_view text) {
  return std::filesystem::path(TextToNative(text));
}

std::u16string PathText(const std::filesystem::path& path) {
  return NativeToText(path.native());
}

std::u16string DisplayName(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  const auto length = static_cast<int64_t>(text.size());
  for (int64_t i = 0; i < length;) {
    UChar32 c;
    U16_NEXT(text.data(), i, length, c);
    AppendCodePoint(U_IS_SURROGATE(c) || IsControl(c) ? kReplacement : c, out);
  }
  return out;
}

std::optional<std::string> NameBytesInHex(std::u16string_view text) {
  const std::string bytes = TextToNative(text);
  if (StrictUtf8ToText(bytes)) return std::nullopt;
  constexpr std::string_view kHex = "0123456789abcdef";
  std::string hex;
  hex.reserve(2 * bytes.size());
  for (const unsigned char byte : bytes) {
    hex.push_back(kHex[byte >> 4]);
    hex.push_back(kHex[byte & 0xF]);
  }
  return hex;
}

}  // namespace vantrel
