#include "extraction/text/text.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <cstring>
#include <stdexcept>

#include "extraction/text/utf8_decoder.h"

namespace vantrel {
namespace {

// Runs an ICU string function that writes into a caller's buffer, growing
// the buffer once when ICU reports the length it needs.
template <typename Fn>
std::u16string WithIcuBuffer(std::size_t first_guess, Fn&& fn) {
  std::u16string out(first_guess, u'\0');
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = fn(out.data(), static_cast<int32_t>(out.size()), &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    out.assign(static_cast<std::size_t>(length), u'\0');
    status = U_ZERO_ERROR;
    length = fn(out.data(), static_cast<int32_t>(out.size()), &status);
  }
  if (U_FAILURE(status)) {
    throw std::runtime_error(std::string("text conversion failed: ") +
                             u_errorName(status));
  }
  out.resize(static_cast<std::size_t>(length));
  return out;
}

}  // namespace

void AppendUtf8AsText(std::string_view utf8, std::u16string& text) {
  const std::size_t start = text.size();
  text.resize(start + utf8.size());
  text.resize(start + Utf8ToUnits(utf8, text.data() + start));
}

std::u16string Utf8ToText(std::string_view utf8) {
  std::u16string text;
  text.reserve(utf8.size());
  AppendUtf8AsText(utf8, text);
  return text;
}

void AppendCodePointAsUtf8(int32_t c, std::string& utf8) {
  if (U_IS_SURROGATE(c)) c = 0xFFFD;
  char buffer[4];
  int32_t n = 0;
  U8_APPEND_UNSAFE(buffer, n, c);
  utf8.append(buffer, static_cast<std::size_t>(n));
}

std::optional<std::u16string> StrictUtf8ToText(std::string_view utf8) {
  if (!IsWellFormedUtf8(utf8)) return std::nullopt;
  return Utf8ToText(utf8);
}

bool IsWellFormedUtf8(std::string_view utf8) {
  const auto* s = reinterpret_cast<const uint8_t*>(utf8.data());
  const auto length = static_cast<int64_t>(utf8.size());
  for (int64_t i = 0; i < length;) {
    // Eight ASCII bytes at a time, and a two-byte sequence (Arabic) at
    // once: the usual text of a page goes by in these.
    if (i + 8 <= length) {
      std::uint64_t eight;
      std::memcpy(&eight, s + i, sizeof eight);
      if ((eight & 0x8080808080808080u) == 0) {
        i += 8;
        continue;
      }
    }
    if (s[i] < 0x80) {
      ++i;
    } else if (s[i] >= 0xC2 && s[i] <= 0xDF && i + 1 < length &&
               (s[i + 1] & 0xC0) == 0x80) {
      i += 2;
    } else {
      UChar32 c;
      U8_NEXT(s, i, length, c);
      if (c < 0) return false;
    }
  }
  return true;
}

std::string TextToUtf8(std::u16string_view text) {
  std::string out;
  AppendTextAsUtf8(text, out);
  return out;
}

void AppendTextAsUtf8(std::u16string_view text, std::string& utf8) {
  // The length first, so that the bytes are written through a pointer into
  // memory made once: one unit is at most three bytes, and a pair four.
  std::size_t bytes = 0;
  for (const char16_t unit : text) {
    bytes += unit < 0x80 ? 1 : unit < 0x800 ? 2 : 3;
  }
  const std::size_t start = utf8.size();
  utf8.resize(start + bytes);
  auto* const out = reinterpret_cast<uint8_t*>(utf8.data() + start);
  int64_t n = 0;
  const auto length = static_cast<int64_t>(text.size());
  for (int64_t i = 0; i < length;) {
    UChar32 c;
    U16_NEXT(text.data(), i, length, c);
    if (U_IS_SURROGATE(c)) c = 0xFFFD;
    U8_APPEND_UNSAFE(out, n, c);
  }
  utf8.resize(start + static_cast<std::size_t>(n));
}

std::u16string DecimalText(std::int64_t n) {
  const std::string digits = std::to_string(n);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string LowerCase(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  const auto length = static_cast<int32_t>(text.size());
  for (int32_t i = 0; i < length;) {
    const int32_t start = i;
    UChar32 c;
    U16_NEXT(text.data(), i, length, c);
    if (c < 0x80) {
      out.push_back(static_cast<char16_t>(c >= 'A' && c <= 'Z' ? c + 32 : c));
      continue;
    }
    // Each character alone, so that no rule looks at its neighbours: a
    // word-final capital sigma lower-cases like any other.
    const std::u16string_view one = text.substr(start, i - start);
    out += WithIcuBuffer(
        4, [&](UChar* dest, int32_t capacity, UErrorCode* status) {
          return u_strToLower(dest, capacity, one.data(),
                              static_cast<int32_t>(one.size()), "", status);
        });
  }
  return out;
}

std::u16string FoldCase(std::u16string_view text) {
  if (text.empty()) return {};
  return WithIcuBuffer(text.size(),
                       [&](UChar* dest, int32_t capacity, UErrorCode* status) {
                         return u_strFoldCase(dest, capacity, text.data(),
                                              static_cast<int32_t>(text.size()),
                                              U_FOLD_CASE_DEFAULT, status);
                       });
}

std::size_t LineBreakLength(std::u16string_view text, std::size_t at) {
  if (at >= text.size()) return 0;
  if (text[at] == u'\n') return 1;
  if (text[at] != u'\r') return 0;
  return at + 1 < text.size() && text[at + 1] == u'\n' ? 2 : 1;
}

int LineAt(std::u16string_view text, std::size_t at) {
  int line = 1;
  for (std::size_t i = 0; i < at && i < text.size();) {
    const std::size_t length = LineBreakLength(text, i);
    if (length == 0) {
      ++i;
      continue;
    }
    // A CR LF that `at` splits has not ended the line yet.
    if (i + length > at) break;
    ++line;
    i += length;
  }
  return line;
}

}  // namespace vantrel
