#include "extraction/charsets.h"

#include <unicode/ucnv.h>
#include <unicode/utf16.h>

#include <array>
#include <bit>
#include <cstring>
#include <memory>

#include "extraction/run_error.h"
#include "extraction/utf8_decoder.h"

namespace vantrel {
namespace {

constexpr std::string_view kUtf16LeSignature = "\xFF\xFE";
constexpr std::string_view kUtf16BeSignature = "\xFE\xFF";
constexpr std::string_view kUtf8Signature = "\xEF\xBB\xBF";
constexpr char kUnmappable = '?';
constexpr std::u16string_view kWindows1256Name = u"windows-1256";

// windows-1256 maps each byte to one character and back, so both directions
// are tables, filled once from ICU's converter.
class CodePage1256 {
 public:
  static const CodePage1256& Get() {
    static const CodePage1256 tables;
    return tables;
  }
  char16_t ToText(unsigned char byte) const { return to_text_[byte]; }
  // The byte for `unit`, or -1 when the code page lacks it.
  int ToByte(char16_t unit) const { return to_byte_[unit]; }

 private:
  CodePage1256() {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, decltype(&ucnv_close)> converter(
        ucnv_open("windows-1256", &status), &ucnv_close);
    if (U_FAILURE(status)) {
      throw RunError(std::string("cannot load charset windows-1256: ") +
                     u_errorName(status));
    }
    to_byte_.fill(-1);
    for (int byte = 0; byte < 256; ++byte) {
      const char in = static_cast<char>(byte);
      UChar out[2] = {0xFFFD, 0};
      status = U_ZERO_ERROR;
      ucnv_reset(converter.get());
      const int32_t n = ucnv_toUChars(converter.get(), out, 2, &in, 1, &status);
      to_text_[byte] = (U_SUCCESS(status) && n == 1) ? out[0] : u'\xFFFD';
      if (to_text_[byte] != 0xFFFD) to_byte_[to_text_[byte]] = byte;
    }
  }
  std::array<char16_t, 256> to_text_;
  std::array<int16_t, 65536> to_byte_;
};

bool StartsWith(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

// UTF-16 into `out`, which has room for (bytes.size() + 1) / 2 units.
template <bool kBigEndian>
std::size_t DecodeUtf16(std::string_view bytes, char16_t* out) {
  const std::size_t units = bytes.size() / 2;
  if constexpr (!kBigEndian && std::endian::native == std::endian::little) {
    // memcpy must not see the null pointer that empty input may carry.
    if (units > 0) std::memcpy(out, bytes.data(), units * 2);
  } else {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    for (std::size_t i = 0; i < units; ++i) {
      const unsigned first = b[2 * i], second = b[2 * i + 1];
      out[i] = static_cast<char16_t>(kBigEndian ? (first << 8) | second
                                                : (second << 8) | first);
    }
  }
  if (bytes.size() % 2 == 0) return units;
  out[units] = u'\xFFFD';
  return units + 1;
}

// Grows `buffer` to at least `units` units; it never shrinks, so that text
// already there is not filled again. What it holds is about to be
// overwritten, so a buffer too small goes before a larger one is made: the
// old text is not copied, and the two never take memory at once.
char16_t* Room(std::u16string& buffer, std::size_t units) {
  if (buffer.size() < units) {
    if (buffer.capacity() < units) std::u16string().swap(buffer);
    buffer.resize(units);
  }
  return buffer.data();
}

}  // namespace

std::u16string_view CharsetName(Charset charset) {
  switch (charset) {
    case Charset::kUnicode:
      return u"unicode";
    case Charset::kUtf16:
      return u"utf-16";
    case Charset::kUtf8:
      return u"utf-8";
    case Charset::kWindows1256:
      break;
  }
  return kWindows1256Name;
}

std::string_view CharsetLabel(Charset charset) {
  switch (charset) {
    case Charset::kUnicode:
      return "UTF-16LE";
    case Charset::kUtf16:
      return "UTF-16BE";
    case Charset::kUtf8:
      return "UTF-8";
    case Charset::kWindows1256:
      break;
  }
  return "windows-1256";
}

Charset DetectCharset(std::string_view first_bytes) {
  if (StartsWith(first_bytes, kUtf16LeSignature)) return Charset::kUnicode;
  if (StartsWith(first_bytes, kUtf16BeSignature)) return Charset::kUtf16;
  if (StartsWith(first_bytes, kUtf8Signature)) return Charset::kUtf8;
  return Charset::kWindows1256;
}

std::size_t DecodeTextInto(std::string_view bytes, Charset charset,
                           std::u16string& buffer) {
  switch (charset) {
    case Charset::kUnicode:
      if (StartsWith(bytes, kUtf16LeSignature)) bytes.remove_prefix(2);
      return DecodeUtf16<false>(bytes, Room(buffer, (bytes.size() + 1) / 2));
    case Charset::kUtf16:
      if (StartsWith(bytes, kUtf16BeSignature)) bytes.remove_prefix(2);
      return DecodeUtf16<true>(bytes, Room(buffer, (bytes.size() + 1) / 2));
    case Charset::kUtf8:
      if (StartsWith(bytes, kUtf8Signature)) bytes.remove_prefix(3);
      return Utf8ToUnits(bytes, Room(buffer, bytes.size()));
    case Charset::kWindows1256:
      break;
  }
  const CodePage1256& table = CodePage1256::Get();
  char16_t* out = Room(buffer, bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    out[i] = table.ToText(static_cast<unsigned char>(bytes[i]));
  }
  return bytes.size();
}

void DecodeText(std::string_view bytes, Charset charset, std::u16string& text) {
  text.resize(DecodeTextInto(bytes, charset, text));
}

OutputFormat OutputFormatFor(std::u16string_view out_charset) {
  return out_charset == kWindows1256Name ? OutputFormat::kWindows1256
                                         : OutputFormat::kUtf16Le;
}

std::string_view Signature(OutputFormat format) {
  return format == OutputFormat::kUtf16Le ? kUtf16LeSignature
                                          : std::string_view();
}

void EncodeText(std::u16string_view text, OutputFormat format,
                std::string& bytes) {
  const std::size_t start = bytes.size();
  if (format == OutputFormat::kUtf16Le) {
    bytes.resize(start + text.size() * 2);
    char* out = bytes.data() + start;
    if constexpr (std::endian::native == std::endian::little) {
      if (!text.empty()) std::memcpy(out, text.data(), text.size() * 2);
    } else {
      for (std::size_t i = 0; i < text.size(); ++i) {
        out[2 * i] = static_cast<char>(text[i] & 0xFF);
        out[2 * i + 1] = static_cast<char>(text[i] >> 8);
      }
    }
    return;
  }
  const CodePage1256& table = CodePage1256::Get();
  // At most one byte per unit; written through a pointer, then cut to size.
  bytes.resize(start + text.size());
  char* const begin = bytes.data() + start;
  char* out = begin;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    const int byte = table.ToByte(unit);
    if (byte >= 0) {
      *out++ = static_cast<char>(byte);
    } else {
      // One "?" per character: a surrogate pair is one character.
      if (U16_IS_LEAD(unit) && i + 1 < text.size() &&
          U16_IS_TRAIL(text[i + 1])) {
        ++i;
      }
      *out++ = kUnmappable;
    }
  }
  bytes.resize(start + static_cast<std::size_t>(out - begin));
}

std::string_view EncodedBytes(std::u16string_view text, OutputFormat format,
                              std::string& scratch) {
  if (format == OutputFormat::kUtf16Le &&
      std::endian::native == std::endian::little) {
    return {reinterpret_cast<const char*>(text.data()),
            text.size() * sizeof(char16_t)};
  }
  scratch.clear();
  EncodeText(text, format, scratch);
  return scratch;
}

}  // namespace vantrel
