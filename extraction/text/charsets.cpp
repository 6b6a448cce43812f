#include "extraction/text/charsets.h"

#include <unicode/utf16.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "extraction/base/source_buffer.h"
#include "extraction/text/code_page.h"
#include "extraction/text/text.h"
#include "extraction/text/utf8_decoder.h"

namespace vantrel {
namespace {

constexpr std::string_view kUtf16LeSignature = "\xFF\xFE";
constexpr std::string_view kUtf16BeSignature = "\xFE\xFF";
constexpr std::string_view kUtf8Signature = "\xEF\xBB\xBF";
constexpr char kUnmappable = '?';

constexpr std::array<CharsetNames, 4> kCharsetNames{{
    {Charset::kUtf8, u"utf-8", "UTF-8", "utf-8"},
    {Charset::kUtf16Le, u"unicode", "UTF-16LE", "utf-16le"},
    {Charset::kUtf16Be, u"utf-16", "UTF-16BE", "utf-16be"},
    {Charset::kWindows1256, u"windows-1256", "windows-1256", "windows-1256"},
}};

constexpr const CharsetNames& NamesOf(Charset charset) {
  return *std::ranges::find(kCharsetNames, charset, &CharsetNames::charset);
}

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

// Grows `buffer` to at least `at` + `units` units, keeping its first `at`,
// and gives where the new units go. It never shrinks, so that text already
// there is not filled again. What lies behind `at` is about to be
// overwritten, so with nothing to keep a buffer too small goes before a
// larger one is made: the two never take memory at once.
char16_t* Room(std::u16string& buffer, std::size_t at, std::size_t units) {
  if (buffer.size() < at + units) {
    if (buffer.capacity() < at + units) {
      if (at == 0) std::u16string().swap(buffer);
      buffer.reserve(RoomFor(at + units));
    }
    buffer.resize(at + units);
  }
  return buffer.data() + at;
}

}  // namespace

std::span<const CharsetNames> AllCharsetNames() { return kCharsetNames; }

std::u16string_view CharsetName(Charset charset) {
  return NamesOf(charset).name;
}

std::string_view CharsetLabel(Charset charset) {
  return NamesOf(charset).label;
}

std::string_view CharsetOptionName(Charset charset) {
  return NamesOf(charset).option_name;
}

std::optional<Charset> CharsetWithOptionName(std::string_view option_name) {
  const auto names =
      std::ranges::find(kCharsetNames, option_name, &CharsetNames::option_name);
  if (names == kCharsetNames.end()) return std::nullopt;
  return names->charset;
}

Charset DetectCharset(std::string_view first_bytes) {
  if (StartsWith(first_bytes, kUtf16LeSignature)) return Charset::kUtf16Le;
  if (StartsWith(first_bytes, kUtf16BeSignature)) return Charset::kUtf16Be;
  if (StartsWith(first_bytes, kUtf8Signature)) return Charset::kUtf8;
  return Charset::kWindows1256;
}

std::size_t DecodeTextInto(std::string_view bytes, Charset charset,
                           std::u16string& buffer) {
  const std::string_view signature = SignatureOf(charset);
  if (StartsWith(bytes, signature)) bytes.remove_prefix(signature.size());
  return DecodePieceInto(bytes, charset, buffer);
}

std::size_t DecodePieceInto(std::string_view bytes, Charset charset,
                            std::u16string& buffer, std::size_t at) {
  switch (charset) {
    case Charset::kUtf16Le:
      return DecodeUtf16<false>(bytes,
                                Room(buffer, at, (bytes.size() + 1) / 2));
    case Charset::kUtf16Be:
      return DecodeUtf16<true>(bytes, Room(buffer, at, (bytes.size() + 1) / 2));
    case Charset::kUtf8:
      return Utf8ToUnits(bytes, Room(buffer, at, bytes.size()));
    case Charset::kWindows1256:
      break;
  }
  const CodePage& table = CodePage::Windows1256();
  char16_t* out = Room(buffer, at, bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    out[i] = table.ToText(static_cast<unsigned char>(bytes[i]));
  }
  return bytes.size();
}

std::string_view SignatureOf(Charset charset) {
  switch (charset) {
    case Charset::kUtf16Le:
      return kUtf16LeSignature;
    case Charset::kUtf16Be:
      return kUtf16BeSignature;
    case Charset::kUtf8:
      return kUtf8Signature;
    case Charset::kWindows1256:
      break;
  }
  return {};
}

std::optional<std::string> SearchableBytes(std::u16string_view text,
                                           Charset charset) {
  if (charset == Charset::kWindows1256) {
    return CodePage::Windows1256().BytesOf(text);
  }
  if (charset != Charset::kUtf8) return std::nullopt;
  // U+FFFD also stands for ill-formed bytes, and an unpaired surrogate for
  // nothing that well-formed UTF-8 can hold.
  for (std::size_t i = 0; i < text.size();) {
    UChar32 c;
    U16_NEXT(text.data(), i, text.size(), c);
    if (c == 0xFFFD || U_IS_SURROGATE(c)) return std::nullopt;
  }
  return TextToUtf8(text);
}

void DecodeText(std::string_view bytes, Charset charset, std::u16string& text) {
  text.resize(DecodeTextInto(bytes, charset, text));
}

OutputFormat OutputFormatFor(Charset charset) {
  return charset == Charset::kWindows1256 ? OutputFormat::kWindows1256
                                          : OutputFormat::kUtf16Le;
}

std::string_view Signature(OutputFormat format) {
  return format == OutputFormat::kUtf16Le ? kUtf16LeSignature
                                          : std::string_view();
}

std::string_view OutputFormatName(OutputFormat format) {
  const Charset charset = format == OutputFormat::kUtf16Le ? Charset::kUtf16Le
                          : format == OutputFormat::kWindows1256
                              ? Charset::kWindows1256
                              : Charset::kUtf8;
  return NamesOf(charset).option_name;
}

void EncodeText(std::u16string_view text, OutputFormat format,
                std::string& bytes) {
  const std::size_t start = bytes.size();
  if (format == OutputFormat::kUtf8) {
    AppendTextAsUtf8(text, bytes);
    return;
  }
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
  const CodePage& table = CodePage::Windows1256();
  // At most one byte per unit; written through a pointer, then cut to size.
  bytes.resize(start + text.size());
  char* const begin = bytes.data() + start;
  char* out = begin;
  for (std::size_t i = 0; i < text.size();) {
    const int byte = table.ToByte(text[i]);
    if (byte >= 0) {
      *out++ = static_cast<char>(byte);
      ++i;
    } else {
      // One "?" per character: a surrogate pair is one character.
      U16_FWD_1(text.data(), i, text.size());
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
