#include "extraction/text/charset_detection.h"

#include <unicode/ucnv.h>
#include <unicode/ucsdet.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

namespace vantrel {
namespace {

// How many bytes the HTML prescan looks at, as in web browsers.
constexpr std::size_t kPrescanBytes = 1024;
// How many bytes the UTF-16 test and the statistical detector look at:
// enough to tell, little enough to cost nothing beside reading the file.
constexpr std::size_t kSampleBytes = 64 * 1024;
// UTF-16 shows in its first pairs.
constexpr std::size_t kUtf16SampleBytes = 4 * 1024;

struct Label {
  std::string_view label;
  std::string_view charset;
};

// Web browsers' labels of the charsets a folder of Arabic, Latin and Greek
// pages may hold. A page that declares UTF-16 in its bytes is not UTF-16
// (it could not have been read so far), so the UTF-16 labels name UTF-8.
constexpr std::array<Label, 80> kLabels{{
    {"unicode-1-1-utf-8", "UTF-8"},
    {"unicode11utf8", "UTF-8"},
    {"unicode20utf8", "UTF-8"},
    {"utf-8", "UTF-8"},
    {"utf8", "UTF-8"},
    {"x-unicode20utf8", "UTF-8"},
    {"csunicode", "UTF-8"},
    {"iso-10646-ucs-2", "UTF-8"},
    {"ucs-2", "UTF-8"},
    {"unicode", "UTF-8"},
    {"unicodefeff", "UTF-8"},
    {"utf-16", "UTF-8"},
    {"utf-16le", "UTF-8"},
    {"unicodefffe", "UTF-8"},
    {"utf-16be", "UTF-8"},
    {"ansi_x3.4-1968", "windows-1252"},
    {"ascii", "windows-1252"},
    {"cp1252", "windows-1252"},
    {"cp819", "windows-1252"},
    {"csisolatin1", "windows-1252"},
    {"ibm819", "windows-1252"},
    {"iso-8859-1", "windows-1252"},
    {"iso-ir-100", "windows-1252"},
    {"iso8859-1", "windows-1252"},
    {"iso88591", "windows-1252"},
    {"iso_8859-1", "windows-1252"},
    {"iso_8859-1:1987", "windows-1252"},
    {"l1", "windows-1252"},
    {"latin1", "windows-1252"},
    {"us-ascii", "windows-1252"},
    {"windows-1252", "windows-1252"},
    {"x-cp1252", "windows-1252"},
    {"cp1256", "windows-1256"},
    {"windows-1256", "windows-1256"},
    {"x-cp1256", "windows-1256"},
    {"arabic", "ISO-8859-6"},
    {"asmo-708", "ISO-8859-6"},
    {"csiso88596e", "ISO-8859-6"},
    {"csiso88596i", "ISO-8859-6"},
    {"csisolatinarabic", "ISO-8859-6"},
    {"ecma-114", "ISO-8859-6"},
    {"iso-8859-6", "ISO-8859-6"},
    {"iso-8859-6-e", "ISO-8859-6"},
    {"iso-8859-6-i", "ISO-8859-6"},
    {"iso-ir-127", "ISO-8859-6"},
    {"iso8859-6", "ISO-8859-6"},
    {"iso88596", "ISO-8859-6"},
    {"iso_8859-6", "ISO-8859-6"},
    {"iso_8859-6:1987", "ISO-8859-6"},
    {"csisolatingreek", "ISO-8859-7"},
    {"ecma-118", "ISO-8859-7"},
    {"elot_928", "ISO-8859-7"},
    {"greek", "ISO-8859-7"},
    {"greek8", "ISO-8859-7"},
    {"iso-8859-7", "ISO-8859-7"},
    {"iso-ir-126", "ISO-8859-7"},
    {"iso8859-7", "ISO-8859-7"},
    {"iso88597", "ISO-8859-7"},
    {"iso_8859-7", "ISO-8859-7"},
    {"iso_8859-7:1987", "ISO-8859-7"},
    {"sun_eu_greek", "ISO-8859-7"},
    {"cp1253", "windows-1253"},
    {"windows-1253", "windows-1253"},
    {"x-cp1253", "windows-1253"},
    {"csisolatin9", "ISO-8859-15"},
    {"iso-8859-15", "ISO-8859-15"},
    {"iso8859-15", "ISO-8859-15"},
    {"iso885915", "ISO-8859-15"},
    {"iso_8859-15", "ISO-8859-15"},
    {"l9", "ISO-8859-15"},
    {"cp1250", "windows-1250"},
    {"windows-1250", "windows-1250"},
    {"x-cp1250", "windows-1250"},
    {"cp1251", "windows-1251"},
    {"windows-1251", "windows-1251"},
    {"x-cp1251", "windows-1251"},
    {"cp1254", "windows-1254"},
    {"iso-8859-9", "windows-1254"},
    {"latin5", "windows-1254"},
    {"windows-1254", "windows-1254"},
}};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; }

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

// Whether `bytes` at `at` begins with `word`, letter case ignored.
bool HasAt(std::string_view bytes, std::size_t at, std::string_view word) {
  if (bytes.size() - std::min(at, bytes.size()) < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (Lower(bytes[at + i]) != word[i]) return false;
  }
  return true;
}

// The decision for a charset that the web's name `name` stands for.
CharsetDecision Decided(std::string name, DetectionReason reason,
                        int confidence = 0) {
  CharsetDecision decision{std::move(name), std::nullopt, reason, confidence};
  if (decision.name == "UTF-8") decision.fast = Charset::kUtf8;
  if (decision.name == "windows-1256") decision.fast = Charset::kWindows1256;
  if (decision.name == "UTF-16LE") decision.fast = Charset::kUtf16Le;
  if (decision.name == "UTF-16BE") decision.fast = Charset::kUtf16Be;
  return decision;
}

// Whether the bytes are valid UTF-8 and hold a byte beyond ASCII.
bool IsUtf8BeyondAscii(std::string_view bytes) {
  const auto* b = reinterpret_cast<const uint8_t*>(bytes.data());
  const auto n = static_cast<int32_t>(
      std::min<std::size_t>(bytes.size(), static_cast<std::size_t>(INT32_MAX)));
  if (static_cast<std::size_t>(n) != bytes.size()) return false;
  bool beyond = false;
  for (int32_t i = 0; i < n;) {
    // Eight ASCII bytes at a time.
    if (i + 8 <= n) {
      uint64_t word;
      std::memcpy(&word, b + i, 8);
      if ((word & 0x8080808080808080ULL) == 0) {
        i += 8;
        continue;
      }
    }
    if (b[i] < 0x80) {
      ++i;
      continue;
    }
    UChar32 c;
    U8_NEXT(b, i, n, c);
    if (c < 0) return false;
    beyond = true;
  }
  return beyond;
}

// UTF-16 without a signature: even in length, and nearly every byte at one
// place of the pairs is 0x00-0x07 while hardly any at the other is, which
// no 8-bit text shows.
std::optional<Charset> PlainUtf16(std::string_view bytes) {
  if (bytes.size() < 4 || bytes.size() % 2 != 0) return std::nullopt;
  const std::string_view sample = bytes.substr(0, kUtf16SampleBytes);
  const std::size_t pairs = sample.size() / 2;
  // Neither place can hold the high bytes once each has more other bytes
  // than a tenth of the pairs: 8-bit text is told after a few hundred.
  std::size_t low[2] = {0, 0}, other[2] = {0, 0};
  for (std::size_t i = 0; i < sample.size(); ++i) {
    if (static_cast<unsigned char>(sample[i]) < 0x08) {
      ++low[i % 2];
    } else if (++other[i % 2] * 10 > pairs && other[1 - i % 2] * 10 > pairs) {
      return std::nullopt;
    }
  }
  for (int high = 0; high < 2; ++high) {
    if (low[high] * 10 >= pairs * 9 && low[1 - high] * 10 < pairs) {
      return high == 0 ? Charset::kUtf16Be : Charset::kUtf16Le;
    }
  }
  return std::nullopt;
}

// One attribute of a tag, as the HTML prescan reads it.
struct Attribute {
  std::string name, value;
};

// Reads the attribute at `at` (moved past it); nothing at the tag's end.
std::optional<Attribute> NextAttribute(std::string_view bytes,
                                       std::size_t& at) {
  while (at < bytes.size() && (IsSpace(bytes[at]) || bytes[at] == '/')) ++at;
  if (at >= bytes.size() || bytes[at] == '>') return std::nullopt;
  Attribute attribute;
  while (at < bytes.size() && !IsSpace(bytes[at]) && bytes[at] != '=' &&
         bytes[at] != '>' && (bytes[at] != '/' || attribute.name.empty())) {
    attribute.name += Lower(bytes[at++]);
  }
  while (at < bytes.size() && IsSpace(bytes[at])) ++at;
  if (at >= bytes.size() || bytes[at] != '=') return attribute;
  ++at;
  while (at < bytes.size() && IsSpace(bytes[at])) ++at;
  if (at < bytes.size() && (bytes[at] == '"' || bytes[at] == '\'')) {
    const char quote = bytes[at++];
    while (at < bytes.size() && bytes[at] != quote) {
      attribute.value += Lower(bytes[at++]);
    }
    ++at;
  } else {
    while (at < bytes.size() && !IsSpace(bytes[at]) && bytes[at] != '>') {
      attribute.value += Lower(bytes[at++]);
    }
  }
  return attribute;
}

// The label after "charset=" in a Content-Type value.
std::optional<std::string> CharsetInContent(std::string_view content) {
  for (std::size_t at = content.find("charset"); at != std::string_view::npos;
       at = content.find("charset", at + 1)) {
    std::size_t i = at + 7;
    while (i < content.size() && IsSpace(content[i])) ++i;
    if (i >= content.size() || content[i] != '=') continue;
    ++i;
    while (i < content.size() && IsSpace(content[i])) ++i;
    if (i < content.size() && (content[i] == '"' || content[i] == '\'')) {
      const std::size_t end = content.find(content[i], i + 1);
      if (end == std::string_view::npos) return std::nullopt;
      return std::string(content.substr(i + 1, end - i - 1));
    }
    std::size_t end = i;
    while (end < content.size() && !IsSpace(content[end]) &&
           content[end] != ';') {
      ++end;
    }
    return std::string(content.substr(i, end - i));
  }
  return std::nullopt;
}

// The charset a <meta> tag whose attributes begin at `at` declares.
std::optional<std::string> MetaTagCharset(std::string_view bytes,
                                          std::size_t& at) {
  bool http_equiv = false, content_type = false;
  std::optional<std::string> from_charset, from_content;
  while (const auto attribute = NextAttribute(bytes, at)) {
    if (attribute->name == "http-equiv") {
      http_equiv = true;
      content_type = attribute->value == "content-type";
    } else if (attribute->name == "content" && !from_content) {
      from_content = CharsetInContent(attribute->value);
    } else if (attribute->name == "charset" && !from_charset) {
      from_charset = attribute->value;
    }
  }
  if (from_charset) return CharsetOfLabel(*from_charset);
  if (http_equiv && content_type && from_content) {
    return CharsetOfLabel(*from_content);
  }
  return std::nullopt;
}

// The text of the bytes with tags, comments, scripts and styles left out:
// what the statistical detector should judge, not the markup around it.
std::string StrippedText(std::string_view bytes) {
  std::string text;
  text.reserve(std::min(bytes.size(), kSampleBytes));
  std::size_t at = 0;
  while (at < bytes.size() && text.size() < kSampleBytes) {
    if (bytes[at] != '<') {
      text += bytes[at++];
      continue;
    }
    std::string_view close = ">";
    if (HasAt(bytes, at, "<!--")) {
      close = "-->";
    } else if (HasAt(bytes, at, "<script")) {
      close = "</script";
    } else if (HasAt(bytes, at, "<style")) {
      close = "</style";
    }
    std::size_t end = at + 1;
    while (end < bytes.size() && !HasAt(bytes, end, close)) ++end;
    at = end + close.size();
    if (close.size() > 3) {
      while (at < bytes.size() && bytes[at] != '>') ++at;
      ++at;
    }
    text += ' ';
  }
  return text;
}

struct DetectorCloser {
  void operator()(UCharsetDetector* detector) const { ucsdet_close(detector); }
};

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};

// Whether the bytes can be text in the charset: a meta that names one that
// leaves out bytes the page holds (UTF-8 for bytes that are not UTF-8,
// ISO-8859-6 for windows-1256 letters) says nothing. Only the sample is
// looked at.
bool CanHold(std::string_view bytes, const std::string& charset) {
  // windows-1256 gives every byte a character.
  if (charset == "windows-1256") return true;
  bytes = bytes.substr(0, kSampleBytes);
  UErrorCode status = U_ZERO_ERROR;
  const std::unique_ptr<UConverter, ConverterCloser> converter(
      ucnv_open(charset.c_str(), &status));
  if (U_FAILURE(status)) return true;
  ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr,
                      nullptr, nullptr, &status);
  std::u16string out(bytes.size() + 1, u'\0');
  const char* in = bytes.data();
  UChar* to = out.data();
  // A sample cut inside a UTF-8 sequence is not flushed as an error.
  ucnv_toUnicode(converter.get(), &to, out.data() + out.size(), &in,
                 bytes.data() + bytes.size(), nullptr, false, &status);
  return U_SUCCESS(status);
}

// Whether 8-bit text is Arabic, and in which of the two Arabic charsets,
// told by the letters that only one of them has where the other has none
// or a Latin one: غ ـ ف ق ك are 0xDB-0xDF in windows-1256, bytes that
// ISO-8859-6 leaves out; ط ه و ى ي are 0xD7 and 0xE7-0xEA in ISO-8859-6,
// where windows-1256 has × ç è é ê. Short Arabic text is where the
// statistical detector errs most, and these letters are among the most
// frequent. Text is taken as Arabic when at least a quarter of its bytes
// beyond ASCII are the letters ء to ض (0xC1-0xD6), which both charsets
// share and which Latin and Greek text holds only as capitals.
enum class Arabic { kNo, kUndecided, kWindows1256, kIso8859_6 };

Arabic ArabicIn(std::string_view text) {
  std::size_t high = 0, shared = 0, only_1256 = 0, only_8859_6 = 0;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) continue;
    ++high;
    if (byte >= 0xC1 && byte <= 0xD6) ++shared;
    if (byte >= 0xDB && byte <= 0xDF) ++only_1256;
    if (byte == 0xD7 || (byte >= 0xE7 && byte <= 0xEA)) ++only_8859_6;
  }
  if (high == 0 || shared * 4 < high) return Arabic::kNo;
  if (only_1256 > 0) return Arabic::kWindows1256;
  if (only_8859_6 > 0) return Arabic::kIso8859_6;
  return Arabic::kUndecided;
}

// Whether a meta naming one of the two Arabic charsets is belied by the
// page's letters, which ArabicIn finds to be those of the other: every byte
// has a character in windows-1256, so an ISO-8859-6 page declared
// windows-1256 would otherwise read as Latin accented letters amid Arabic.
bool ArabicLettersBelie(std::string_view bytes, const std::string& meta) {
  if (meta != "windows-1256" && meta != "ISO-8859-6") return false;
  const Arabic arabic = ArabicIn(StrippedText(bytes));
  return arabic ==
         (meta == "windows-1256" ? Arabic::kIso8859_6 : Arabic::kWindows1256);
}

// ICU's statistical detector on the text; nothing when it names no charset
// that a web browser knows and that the earlier steps left open (the text
// is not valid UTF-8). Arabic text is always given one of the two Arabic
// charsets, the one that ArabicIn names when it names one.
std::optional<CharsetDecision> Detected(
    std::string_view bytes, const std::optional<std::string>& meta) {
  const std::string text = StrippedText(bytes);
  if (std::ranges::none_of(text, [](char c) { return (c & 0x80) != 0; })) {
    return std::nullopt;
  }
  UErrorCode status = U_ZERO_ERROR;
  const std::unique_ptr<UCharsetDetector, DetectorCloser> detector(
      ucsdet_open(&status));
  if (U_FAILURE(status)) return std::nullopt;
  ucsdet_setText(detector.get(), text.data(), static_cast<int32_t>(text.size()),
                 &status);
  if (meta) {
    ucsdet_setDeclaredEncoding(detector.get(), meta->data(),
                               static_cast<int32_t>(meta->size()), &status);
  }
  int32_t found = 0;
  const UCharsetMatch** matches =
      ucsdet_detectAll(detector.get(), &found, &status);
  if (U_FAILURE(status)) return std::nullopt;
  const Arabic arabic = ArabicIn(text);
  const auto fits = [arabic](const std::string& charset) {
    switch (arabic) {
      case Arabic::kNo:
        return charset != "UTF-8";
      case Arabic::kUndecided:
        return charset == "windows-1256" || charset == "ISO-8859-6";
      case Arabic::kWindows1256:
        return charset == "windows-1256";
      case Arabic::kIso8859_6:
        break;
    }
    return charset == "ISO-8859-6";
  };
  for (int32_t i = 0; i < found; ++i) {
    const char* name = ucsdet_getName(matches[i], &status);
    const int confidence = ucsdet_getConfidence(matches[i], &status);
    if (U_FAILURE(status) || name == nullptr) break;
    const auto charset = CharsetOfLabel(name);
    if (charset && fits(*charset)) {
      return Decided(*charset, DetectionReason::kDetected, confidence);
    }
  }
  // The Arabic letters decide where the detector named neither charset.
  if (arabic == Arabic::kNo) return std::nullopt;
  return Decided(arabic == Arabic::kIso8859_6 ? "ISO-8859-6" : "windows-1256",
                 DetectionReason::kDetected, 1);
}

}  // namespace

std::string_view DetectionReasonName(DetectionReason reason) {
  switch (reason) {
    case DetectionReason::kSignature:
      return "signature";
    case DetectionReason::kUtf8:
      return "utf-8";
    case DetectionReason::kUtf16:
      return "utf-16";
    case DetectionReason::kMeta:
      return "meta";
    case DetectionReason::kDetected:
      return "detected";
    case DetectionReason::kDefault:
      break;
  }
  return "default";
}

std::optional<std::string> CharsetOfLabel(std::string_view label) {
  while (!label.empty() && IsSpace(label.front())) label.remove_prefix(1);
  while (!label.empty() && IsSpace(label.back())) label.remove_suffix(1);
  std::string lowered(label);
  std::ranges::transform(lowered, lowered.begin(), Lower);
  const auto found = std::ranges::find(kLabels, lowered, &Label::label);
  if (found == kLabels.end()) return std::nullopt;
  return std::string(found->charset);
}

std::optional<std::string> MetaCharset(std::string_view bytes) {
  bytes = bytes.substr(0, kPrescanBytes);
  std::size_t at = 0;
  while ((at = bytes.find('<', at)) != std::string_view::npos) {
    if (HasAt(bytes, at, "<!--")) {
      const std::size_t end = bytes.find("-->", at + 4);
      if (end == std::string_view::npos) return std::nullopt;
      at = end + 3;
    } else if (HasAt(bytes, at, "<meta") && at + 5 < bytes.size() &&
               (IsSpace(bytes[at + 5]) || bytes[at + 5] == '/')) {
      at += 5;
      if (auto charset = MetaTagCharset(bytes, at)) return charset;
    } else {
      ++at;
    }
  }
  return std::nullopt;
}

CharsetDecision DecideSourceCharset(std::string_view bytes) {
  if (!SignatureOf(DetectCharset(bytes)).empty()) {
    const Charset charset = DetectCharset(bytes);
    CharsetDecision decision{std::string(CharsetLabel(charset)), charset,
                             DetectionReason::kSignature, 0};
    return decision;
  }
  if (IsUtf8BeyondAscii(bytes)) return Decided("UTF-8", DetectionReason::kUtf8);
  if (const auto utf16 = PlainUtf16(bytes)) {
    return Decided(std::string(CharsetLabel(*utf16)), DetectionReason::kUtf16);
  }
  const auto meta = MetaCharset(bytes);
  if (meta && CanHold(bytes, *meta) && !ArabicLettersBelie(bytes, *meta)) {
    return Decided(*meta, DetectionReason::kMeta);
  }
  if (auto detected = Detected(bytes, meta)) return *detected;
  return Decided("windows-1256", DetectionReason::kDefault);
}

std::size_t DecodeDecidedInto(std::string_view bytes,
                              const CharsetDecision& decision,
                              std::u16string& buffer) {
  if (decision.fast) return DecodeTextInto(bytes, *decision.fast, buffer);
  UErrorCode status = U_ZERO_ERROR;
  const std::unique_ptr<UConverter, ConverterCloser> converter(
      ucnv_open(decision.name.c_str(), &status));
  if (U_FAILURE(status)) {
    return DecodeTextInto(bytes, Charset::kWindows1256, buffer);
  }
  // The single-byte charsets here give at most one unit per byte.
  if (buffer.size() < bytes.size()) buffer.resize(bytes.size());
  const char* in = bytes.data();
  UChar* out = buffer.data();
  ucnv_toUnicode(converter.get(), &out, buffer.data() + buffer.size(), &in,
                 bytes.data() + bytes.size(), nullptr, true, &status);
  return static_cast<std::size_t>(out - buffer.data());
}

}  // namespace vantrel
