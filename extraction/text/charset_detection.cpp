#include "extraction/text/charset_detection.h"

#include <unicode/ucnv.h>
#include <unicode/ucsdet.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "extraction/text/text.h"
#include "extraction/text/uchardet_guess.h"

namespace vantrel {
namespace {

// How many bytes the HTML prescan looks at, as in web browsers.
constexpr std::size_t kPrescanBytes = 1024;
// How many bytes the UTF-16 test and the statistical detector look at:
// enough to tell, little enough to cost nothing beside reading the file.
constexpr std::size_t kSampleBytes = 64 * 1024;
// UTF-16 shows in its first pairs.
constexpr std::size_t kUtf16SampleBytes = 4 * 1024;

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

// Whether the UTF-16 units whose high byte is at `high` (0 big-endian, 1
// little-endian) pair their surrogates, as UTF-16 text does.
bool PairsSurrogates(std::string_view sample, std::size_t high) {
  bool open = false;
  for (std::size_t i = high; i < sample.size(); i += 2) {
    const auto byte = static_cast<unsigned char>(sample[i]);
    const bool lead = byte >= 0xD8 && byte <= 0xDB;
    const bool trail = byte >= 0xDC && byte <= 0xDF;
    if (trail != open) return false;
    open = lead;
  }
  return true;
}

// UTF-16 without a signature: even in length, and either nearly every byte
// at one place of the pairs is 0x00-0x07 while hardly any at the other is,
// which no 8-bit text shows; or, for text of scripts beyond U+07FF
// (Chinese, Japanese, Korean), the markup, spaces and digits put 0x00 at
// one place of at least one pair in twenty, far more often than the other
// place holds it, and the surrogates pair up. 8-bit and multi-byte text
// never holds 0x00.
std::optional<Charset> PlainUtf16(std::string_view bytes) {
  if (bytes.size() < 4 || bytes.size() % 2 != 0) return std::nullopt;
  const std::string_view sample = bytes.substr(0, kUtf16SampleBytes);
  const std::size_t pairs = sample.size() / 2;
  // Without a 0x00 byte, which 8-bit text never holds, only the first test
  // can answer, and its counts tell 8-bit text after a few hundred bytes.
  const bool zeros = sample.find('\0') != std::string_view::npos;
  std::size_t low[2] = {0, 0}, zero[2] = {0, 0}, other[2] = {0, 0};
  for (std::size_t i = 0; i < sample.size(); ++i) {
    const auto byte = static_cast<unsigned char>(sample[i]);
    if (byte < 0x08) {
      ++low[i % 2];
      if (byte == 0) ++zero[i % 2];
    } else if (!zeros && ++other[i % 2] * 10 > pairs &&
               other[1 - i % 2] * 10 > pairs) {
      return std::nullopt;
    }
  }
  for (std::size_t high = 0; high < 2; ++high) {
    const Charset charset = high == 0 ? Charset::kUtf16Be : Charset::kUtf16Le;
    if (low[high] * 10 >= pairs * 9 && low[1 - high] * 10 < pairs) {
      return charset;
    }
    if (zero[high] * 20 >= pairs && zero[1 - high] * 4 < zero[high] &&
        PairsSurrogates(sample, high)) {
      return charset;
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
      // The text up to the next tag, in one piece.
      const std::size_t tag = std::min(bytes.find('<', at), bytes.size());
      text.append(
          bytes.substr(at, std::min(tag - at, kSampleBytes - text.size())));
      at = tag;
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
    if (close.size() <= 3) {
      end = std::min(bytes.find(close, end), bytes.size());
    } else {
      while (end < bytes.size() && !HasAt(bytes, end, close)) ++end;
    }
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

// The ICU converter of a charset, opened once per thread and charset: a run
// reads many files in few charsets, and opening a converter costs more than
// decoding a page. Nothing when ICU has none.
UConverter* ConverterFor(std::string_view charset) {
  thread_local std::vector<
      std::pair<std::string, std::unique_ptr<UConverter, ConverterCloser>>>
      opened;
  for (auto& [name, converter] : opened) {
    if (name == charset) return converter.get();
  }
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<UConverter, ConverterCloser> converter(
      ucnv_open(std::string(ConverterOf(charset)).c_str(), &status));
  if (U_FAILURE(status)) return nullptr;
  opened.emplace_back(std::string(charset), std::move(converter));
  return opened.back().second.get();
}

// Decodes `bytes` in the charset's converter into the start of `buffer`,
// stopping at the first byte sequence the charset lacks when `strict`, and
// else putting U+FFFD for it. Nothing when there is no converter or a
// strict decoding stopped.
std::optional<std::size_t> Convert(std::string_view bytes,
                                   std::string_view charset, bool strict,
                                   std::u16string& buffer) {
  UConverter* converter = ConverterFor(charset);
  if (converter == nullptr) return std::nullopt;
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setToUCallBack(
      converter,
      strict ? UCNV_TO_U_CALLBACK_STOP : UCNV_TO_U_CALLBACK_SUBSTITUTE, nullptr,
      nullptr, nullptr, &status);
  const auto length =
      static_cast<int32_t>(std::min<std::size_t>(bytes.size(), INT32_MAX));
  // Every charset here gives at most one unit per byte; the loop is for
  // the converter that would not.
  if (buffer.size() < bytes.size() + 1) buffer.resize(bytes.size() + 1);
  for (;;) {
    status = U_ZERO_ERROR;
    const int32_t units = ucnv_toUChars(
        converter, buffer.data(),
        static_cast<int32_t>(std::min<std::size_t>(buffer.size(), INT32_MAX)),
        bytes.data(), length, &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
      buffer.resize(static_cast<std::size_t>(units) + 1);
      continue;
    }
    if (U_FAILURE(status)) return std::nullopt;
    return static_cast<std::size_t>(units);
  }
}

// Whether the bytes are text in the charset: every byte sequence of the
// whole source decodes in it. A charset that leaves out bytes the page
// holds (UTF-8 for bytes that are not UTF-8, ISO-8859-6 for windows-1256
// letters, Shift_JIS for GBK's double bytes) is never chosen.
bool CanHold(std::string_view bytes, std::string_view charset) {
  // windows-1256 gives every byte a character.
  if (charset == "windows-1256") return true;
  if (charset == "UTF-8") return IsWellFormedUtf8(bytes);
  thread_local std::u16string scratch;
  return Convert(bytes, charset, true, scratch).has_value();
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

// Whether a meta naming windows-1256 is belied by the page's letters,
// which ArabicIn finds to be those of ISO-8859-6: every byte has a
// character in windows-1256, so an ISO-8859-6 page declared windows-1256
// would otherwise read as Latin accented letters amid Arabic. (A page
// declared ISO-8859-6 that holds windows-1256's own letters is refused
// before, as ISO-8859-6 leaves those bytes out.)
bool ArabicLettersBelie(std::string_view bytes, const std::string& meta) {
  if (meta != "windows-1256") return false;
  // Most pages hold none of ISO-8859-6's own letters anywhere, which a
  // search for each byte tells far faster than reading the text.
  const bool any_8859_6_letter = std::ranges::any_of(
      std::string_view("\xD7\xE7\xE8\xE9\xEA"),
      [&](char c) { return bytes.find(c) != std::string_view::npos; });
  return any_8859_6_letter &&
         ArabicIn(StrippedText(bytes)) == Arabic::kIso8859_6;
}

// Whether the charset is one of a script with letters of its own beyond
// ASCII (Cyrillic, Greek, Hebrew, Thai, Chinese, Japanese, Korean), whose
// bytes may look like Arabic letters to ArabicIn: KOI8-R puts the Russian
// small letters at 0xC0-0xDF, and the double bytes of the Chinese, Japanese
// and Korean charsets spread over all of 0xA1-0xFE.
bool OfOwnScript(std::string_view charset) {
  static constexpr std::array<std::string_view, 19> kOwnScript{
      "IBM866",       "ISO-8859-5",     "KOI8-R",       "KOI8-U",
      "windows-1251", "x-mac-cyrillic", "ISO-8859-7",   "windows-1253",
      "ISO-8859-8",   "ISO-8859-8-I",   "windows-1255", "windows-874",
      "GBK",          "gb18030",        "Big5",         "EUC-JP",
      "ISO-2022-JP",  "Shift_JIS",      "EUC-KR"};
  return std::ranges::find(kOwnScript, charset) != kOwnScript.end();
}

// One of ICU's matches, by the name web browsers give its charset.
struct IcuMatch {
  std::string charset;
  int confidence = 0;
};

// ICU's statistical detector's matches for the text, best first, those it
// names by a name web browsers know; UTF-8 and UTF-16 are left out, as the
// earlier steps would have found them.
std::vector<IcuMatch> IcuMatches(std::string_view text,
                                 const std::optional<std::string>& meta) {
  UErrorCode status = U_ZERO_ERROR;
  const std::unique_ptr<UCharsetDetector, DetectorCloser> detector(
      ucsdet_open(&status));
  if (U_FAILURE(status)) return {};
  ucsdet_setText(detector.get(), text.data(), static_cast<int32_t>(text.size()),
                 &status);
  if (meta) {
    ucsdet_setDeclaredEncoding(detector.get(), meta->data(),
                               static_cast<int32_t>(meta->size()), &status);
  }
  int32_t found = 0;
  const UCharsetMatch** matches =
      ucsdet_detectAll(detector.get(), &found, &status);
  if (U_FAILURE(status)) return {};
  std::vector<IcuMatch> named;
  for (int32_t i = 0; i < found; ++i) {
    const char* name = ucsdet_getName(matches[i], &status);
    const int confidence = ucsdet_getConfidence(matches[i], &status);
    if (U_FAILURE(status) || name == nullptr) break;
    if (std::string_view(name).starts_with("UTF")) continue;
    if (auto charset = CharsetOfLabel(name); charset && *charset != "UTF-8") {
      named.push_back({std::move(*charset), confidence});
    }
  }
  return named;
}

// Whether the two charsets read the text alike: ISO-8859-8 and
// windows-1255 do for Hebrew letters, ISO-8859-1's windows-1252 and
// ISO-8859-15 for most French.
bool ReadAlike(std::string_view text, std::string_view a, std::string_view b) {
  if (a == b) return true;
  thread_local std::u16string first, second;
  const auto n = Convert(text, a, false, first);
  const auto m = Convert(text, b, false, second);
  return n && m &&
         std::u16string_view(first.data(), *n) ==
             std::u16string_view(second.data(), *m);
}

// The statistics' charset for the text: uchardet's guess, and where it has
// none ICU's best match, among the charsets that the whole source decodes
// in. Arabic text (ArabicIn) is given one of the two Arabic charsets, from
// ICU's matches or the letters, unless both detectors read it alike in a
// charset of another script. The guess is of low confidence unless both
// detectors read the text as the chosen charset does. Nothing when the
// text holds no byte beyond ASCII or neither detector names a charset.
std::optional<CharsetDecision> Detected(
    std::string_view bytes, const std::optional<std::string>& meta) {
  const std::string text = StrippedText(bytes);
  if (std::ranges::none_of(text, [](char c) { return (c & 0x80) != 0; })) {
    return std::nullopt;
  }
  const std::vector<IcuMatch> matches = IcuMatches(text, meta);
  std::vector<std::pair<std::string, bool>> checked;
  const auto holds = [&](const std::string& charset) {
    for (const auto& [name, can] : checked) {
      if (name == charset) return can;
    }
    checked.emplace_back(charset, CanHold(bytes, charset));
    return checked.back().second;
  };
  const auto icu_best = std::ranges::find_if(
      matches, [&](const IcuMatch& m) { return holds(m.charset); });
  const std::optional<std::string> icu = icu_best == matches.end()
                                             ? std::nullopt
                                             : std::optional(icu_best->charset);
  std::optional<std::string> guess = UchardetGuess(text);
  if (guess && (*guess == "UTF-8" || !holds(*guess))) guess.reset();

  // ICU's confidence in the best of its matches that the source decodes in
  // and that `pick` takes.
  const auto icu_confidence = [&](const auto& pick) {
    const auto found = std::ranges::find_if(matches, [&](const IcuMatch& m) {
      return holds(m.charset) && pick(m.charset);
    });
    return found == matches.end() ? 0 : found->confidence;
  };
  // Text in a charset of another script leaves the Arabic rule when
  // uchardet names that charset and ICU either reads the text alike or
  // trusts the reading more than either Arabic charset.
  const auto other_script = [&] {
    return guess && OfOwnScript(*guess) &&
           ((icu && ReadAlike(text, *guess, *icu)) ||
            icu_confidence([&](const std::string& charset) {
              return ReadAlike(text, *guess, charset);
            }) > icu_confidence([](const std::string& charset) {
              return charset == "windows-1256" || charset == "ISO-8859-6";
            }));
  };
  const Arabic arabic = ArabicIn(text);
  std::string chosen;
  if (arabic != Arabic::kNo && !other_script()) {
    const auto fits = [arabic](const std::string& charset) {
      switch (arabic) {
        case Arabic::kUndecided:
          return charset == "windows-1256" || charset == "ISO-8859-6";
        case Arabic::kWindows1256:
          return charset == "windows-1256";
        default:
          break;
      }
      return charset == "ISO-8859-6";
    };
    const auto found = std::ranges::find_if(matches, [&](const IcuMatch& m) {
      return fits(m.charset) && holds(m.charset);
    });
    // The Arabic letters decide where the detector named neither charset.
    chosen = found != matches.end() ? found->charset
             : arabic == Arabic::kIso8859_6 && holds("ISO-8859-6")
                 ? "ISO-8859-6"
                 : "windows-1256";
  } else if (guess) {
    chosen = *guess;
  } else if (icu) {
    chosen = *icu;
  } else {
    return std::nullopt;
  }
  const bool icu_backs = icu && ReadAlike(text, *icu, chosen);
  const auto named = std::ranges::find(matches, chosen, &IcuMatch::charset);
  const int confidence = named != matches.end() ? named->confidence
                         : icu_backs            ? icu_best->confidence
                                                : 0;
  CharsetDecision decision =
      Decided(chosen, DetectionReason::kDetected, confidence);
  decision.low_confidence =
      !icu_backs || !guess || !ReadAlike(text, *guess, chosen);
  return decision;
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

CharsetDecision DecideSourceCharset(std::string_view bytes,
                                    std::string_view declared) {
  if (!SignatureOf(DetectCharset(bytes)).empty()) {
    const Charset charset = DetectCharset(bytes);
    CharsetDecision decision{std::string(CharsetLabel(charset)), charset,
                             DetectionReason::kSignature, 0};
    return decision;
  }
  // UTF-16 first: its Chinese, Japanese or Korean text may be valid UTF-8
  // too, and UTF-8 text never holds the 0x00 bytes that UTF-16 needs.
  if (const auto utf16 = PlainUtf16(bytes)) {
    return Decided(std::string(CharsetLabel(*utf16)), DetectionReason::kUtf16);
  }
  if (IsUtf8BeyondAscii(bytes)) return Decided("UTF-8", DetectionReason::kUtf8);
  auto meta = declared.empty() ? std::nullopt : CharsetOfLabel(declared);
  if (!meta) meta = MetaCharset(bytes);
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
  if (const auto units = Convert(bytes, decision.name, false, buffer)) {
    return *units;
  }
  return DecodeTextInto(bytes, Charset::kWindows1256, buffer);
}

}  // namespace vantrel
