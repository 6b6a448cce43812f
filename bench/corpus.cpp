#include "bench/corpus.h"

#include <unicode/ucnv.h>
#include <unicode/utf16.h>

#include <array>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace vantrel::bench {
namespace {

constexpr std::u16string_view kStartMarker =
    u"<Div id=\"E23\">\r\n   <p class=Matn>\r\n";
constexpr std::u16string_view kEndMarker = u"   </p>\r\n</Div>\r\n";
// What another editor wrote instead of the end marker.
constexpr std::u16string_view kOtherEditorsEnd = u"   </p>\r\n</div>\r\n";

// Common words of the texts such sites publish; all of them are in
// windows-1256, so every encoding can hold every page.
constexpr std::array<std::u16string_view, 50> kWords = {
    u"الله", u"قال",   u"عن",  u"في",     u"من",     u"إلى",   u"على",
    u"رسول", u"النبي", u"صلى", u"عليه",   u"وسلم",   u"حدثنا", u"أخبرنا",
    u"بن",   u"أبي",   u"كان", u"الناس",  u"يوم",    u"الذي",  u"هذا",
    u"ذلك",  u"قد",    u"لا",  u"ما",     u"إذا",    u"ثم",    u"حتى",
    u"أن",   u"كتاب",  u"باب", u"الصلاة", u"العلم",  u"قلت",   u"فقال",
    u"رضي",  u"عنها",  u"عنه", u"بيت",    u"المسجد", u"الأرض", u"السماء",
    u"خير",  u"أهل",   u"كل",  u"شيء",    u"رجل",    u"امرأة", u"الحديث",
    u"رواه",
};
constexpr std::array<std::u16string_view, 4> kSentenceEnds = {u".", u"،", u"؟",
                                                              u":"};

// splitmix64: small, fast, and the same on every platform, unlike the
// distributions of <random>.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // A number from 0 to n - 1.
  int Below(int n) {
    return static_cast<int>(Next() % static_cast<unsigned>(n));
  }
  // A number from low to high.
  int Between(int low, int high) { return low + Below(high - low + 1); }

 private:
  std::uint64_t state_;
};

std::uint64_t PageSeed(const CorpusSpec& spec, int index, std::uint64_t salt) {
  Random r(spec.seed ^ (static_cast<std::uint64_t>(index) << 20) ^ salt);
  return r.Next();
}

std::u16string Ascii(std::string_view s) { return {s.begin(), s.end()}; }

std::u16string Number(long n, int width = 0) {
  char digits[32];
  std::snprintf(digits, sizeof digits, "%0*ld", width, n);
  return Ascii(digits);
}

std::size_t SignatureSize(Encoding encoding) {
  switch (encoding) {
    case Encoding::kUtf8:
      return 3;
    case Encoding::kWindows1256:
      return 0;
    case Encoding::kUtf16Le:
    case Encoding::kUtf16Be:
      return 2;
  }
  return 0;
}

// The page being written, with its size counted in one encoding as it grows.
class PageBuilder {
 public:
  explicit PageBuilder(Encoding sized_in)
      : sized_in_(sized_in), bytes_(SignatureSize(sized_in)) {}

  PageBuilder& operator<<(std::u16string_view s) {
    text_.append(s);
    for (char16_t unit : s) bytes_ += UnitBytes(unit);
    return *this;
  }
  // Adds `s` without counting it: text that differs between encodings of one
  // corpus must not move where the page's parts end.
  void AddUncounted(std::u16string_view s) { text_.append(s); }
  std::size_t bytes() const { return bytes_; }
  std::u16string Take() { return std::move(text_); }

 private:
  std::size_t UnitBytes(char16_t unit) const {
    switch (sized_in_) {
      case Encoding::kWindows1256:
        return 1;
      case Encoding::kUtf16Le:
      case Encoding::kUtf16Be:
        return 2;
      case Encoding::kUtf8:
        break;
    }
    if (unit < 0x80) return 1;
    if (unit < 0x800) return 2;
    if (U16_IS_SURROGATE(unit)) return 2;  // half of a 4-byte pair
    return 3;
  }

  Encoding sized_in_;
  std::u16string text_;
  std::size_t bytes_;
};

std::u16string Words(Random& r, int low, int high) {
  std::u16string s;
  for (int i = r.Between(low, high); i > 0; --i) {
    if (!s.empty()) s += u' ';
    s += kWords[r.Below(kWords.size())];
  }
  return s;
}

// One line of prose: a few sentences, now and then with a number, a quote
// or a bold phrase in it.
std::u16string ProseLine(Random& r) {
  std::u16string line;
  for (int sentences = r.Between(1, 3); sentences > 0; --sentences) {
    if (!line.empty()) line += u' ';
    line += Words(r, 4, 14);
    switch (r.Below(8)) {
      case 0:
        line += u" (" + Number(r.Between(1, 9999)) + u")";
        break;
      case 1:
        line += u" «" + Words(r, 2, 6) + u"»";
        break;
      case 2:
        line += u" <b>" + Words(r, 1, 3) + u"</b>";
        break;
      default:
        break;
    }
    line += kSentenceEnds[r.Below(kSentenceEnds.size())];
  }
  return line;
}

std::u16string HexColour(Random& r) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "%06x", r.Below(0x1000000));
  return Ascii(hex);
}

void Head(PageBuilder& page, Random& r, Encoding encoding, std::size_t until) {
  page << u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 "
          u"Transitional//EN\">\r\n<html dir=\"rtl\" lang=\"ar\">\r\n"
          u"<head>\r\n<meta http-equiv=\"Content-Type\" "
          u"content=\"text/html; charset=";
  page.AddUncounted(Ascii(EncodingName(encoding)));
  page << u"\">\r\n<title>" << Words(r, 3, 7)
       << u"</title>\r\n<link rel=\"stylesheet\" type=\"text/css\" "
          u"href=\"style.css\">\r\n<style type=\"text/css\">\r\n";
  const std::size_t rules_until =
      (page.bytes() + std::max(until, page.bytes())) / 2;
  for (int n = 1; page.bytes() < rules_until; ++n) {
    page << u"  .c" << Number(n) << u" { font-family: \"Traditional Arabic\", "
         << u"Tahoma; font-size: " << Number(r.Between(9, 18))
         << u"pt; color: #" << HexColour(r) << u"; margin: 0 "
         << Number(r.Between(0, 12)) << u"px; }\r\n";
  }
  page << u"</style>\r\n<script type=\"text/javascript\">\r\n";
  for (int n = 1; page.bytes() < until; ++n) {
    page << u"function show" << Number(n)
         << u"(id) { var e = document.getElementById(id); "
         << u"if (e) { e.style.display = (e.style.display == 'none') ? "
         << u"'block' : 'none'; } }\r\n";
  }
  page << u"</script>\r\n</head>\r\n<body onload=\"show1('E24')\">\r\n";
}

void Menu(PageBuilder& page, Random& r, std::size_t until) {
  page << u"<table class=\"menu\" width=\"100%\">\r\n";
  while (page.bytes() < until) {
    page << u"<tr><td class=c" << Number(r.Between(1, 40)) << u"><a href=\"page"
         << Number(r.Below(100000), 5) << u".htm\" title=\"" << Words(r, 1, 3)
         << u"\">" << Words(r, 2, 4) << u"</a></td></tr>\r\n";
  }
  page << u"</table>\r\n";
}

}  // namespace

std::optional<Encoding> EncodingNamed(std::string_view name) {
  for (Encoding e : {Encoding::kUtf8, Encoding::kWindows1256,
                     Encoding::kUtf16Le, Encoding::kUtf16Be}) {
    if (name == EncodingName(e)) return e;
  }
  return std::nullopt;
}

std::string_view EncodingName(Encoding encoding) {
  switch (encoding) {
    case Encoding::kUtf8:
      return "utf-8";
    case Encoding::kWindows1256:
      return "windows-1256";
    case Encoding::kUtf16Le:
      return "utf-16le";
    case Encoding::kUtf16Be:
      return "utf-16be";
  }
  return "";
}

bool LacksEndMarker(const CorpusSpec& spec, int index) {
  if (spec.missing_end_every <= 0) return false;
  Random r(PageSeed(spec, index, 0x5EED));
  return r.Below(spec.missing_end_every) == 0;
}

std::u16string PageText(const CorpusSpec& spec, int index) {
  Random r(PageSeed(spec, index, 0));
  PageBuilder page(spec.sized_in.value_or(spec.encoding));
  const std::size_t target = spec.page_bytes;
  // Markup takes a fixed share of a small page and a few KB of a large one;
  // the body text takes most of the rest, footnotes and a footer close it.
  const std::size_t head = std::min<std::size_t>(target / 10, 8000);
  const std::size_t menu = std::min<std::size_t>(target / 10, 6000);
  Head(page, r, spec.encoding, head);
  Menu(page, r, head + menu);

  // The page's title, in a block that ends the way the body does: an end
  // marker before the start marker, which a run must pass over.
  page << u"<Div id=\"E2\">\r\n   <p class=Onvan>\r\n"
       << Words(r, 3, 8) << u"\r\n"
       << kEndMarker;

  const std::size_t body_until =
      page.bytes() + (target - std::min(target, page.bytes())) * 4 / 5;
  page << kStartMarker;
  while (page.bytes() < body_until) page << ProseLine(r) << u"<br>\r\n";
  page << (LacksEndMarker(spec, index) ? kOtherEditorsEnd : kEndMarker);

  constexpr std::size_t kFooterBytes = 400;
  page << u"<Div id=\"E24\">\r\n<p class=Hashia>\r\n";
  for (int n = 1; page.bytes() + kFooterBytes < target; ++n) {
    page << u"(" << Number(n) << u") " << ProseLine(r) << u"<br>\r\n";
  }
  page << u"</p>\r\n</Div>\r\n<div class=\"footer\">\r\n<a href=\"index.htm\">"
       << Words(r, 1, 2) << u"</a> | <a href=\"page"
       << Number(std::max(index - 1, 0), 5) << u".htm\">" << Words(r, 1, 2)
       << u"</a> | <a href=\"page" << Number(index + 1, 5) << u".htm\">"
       << Words(r, 1, 2) << u"</a>\r\n</div>\r\n</body>\r\n</html>\r\n";
  return page.Take();
}

std::string EncodePage(std::u16string_view text, Encoding encoding) {
  const char* icu_name = "UTF-8";
  std::string bytes;
  switch (encoding) {
    case Encoding::kUtf8:
      bytes = "\xEF\xBB\xBF";
      break;
    case Encoding::kWindows1256:
      icu_name = "windows-1256";
      break;
    case Encoding::kUtf16Le:
      icu_name = "UTF-16LE";
      bytes = "\xFF\xFE";
      break;
    case Encoding::kUtf16Be:
      icu_name = "UTF-16BE";
      bytes = "\xFE\xFF";
      break;
  }
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<UConverter, decltype(&ucnv_close)> converter(
      ucnv_open(icu_name, &status), &ucnv_close);
  if (U_SUCCESS(status)) {
    // Stop at a character the encoding lacks instead of writing a stand-in.
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr,
                          nullptr, nullptr, &status);
  }
  const std::size_t head = bytes.size();
  bytes.resize(head + text.size() * 4);
  const int32_t n =
      ucnv_fromUChars(converter.get(), bytes.data() + head,
                      static_cast<int32_t>(bytes.size() - head), text.data(),
                      static_cast<int32_t>(text.size()), &status);
  if (U_FAILURE(status)) {
    throw std::runtime_error(std::string("cannot encode a page in ") +
                             icu_name + ": " + u_errorName(status));
  }
  bytes.resize(head + static_cast<std::size_t>(n));
  return bytes;
}

namespace {

void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::unique_ptr<std::FILE, decltype(&std::fclose)> file(
      std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!file ||
      std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
    throw std::runtime_error("cannot write " + path.string());
  }
  if (std::fclose(file.release()) != 0) {
    throw std::runtime_error("cannot write " + path.string());
  }
}

std::string Utf8(std::u16string_view text) {
  return EncodePage(text, Encoding::kUtf8).substr(3);
}

// A file that a run over the pages passes over: a style sheet, a script or a
// picture.
std::pair<std::string, std::string> OtherFile(Random& r, int index) {
  const std::string n = Utf8(Number(index, 5));
  std::string bytes;
  switch (r.Below(3)) {
    case 0:
      for (int i = r.Between(20, 60); i > 0; --i) {
        bytes += ".c" + std::to_string(i) + " { color: #" + Utf8(HexColour(r)) +
                 "; }\r\n";
      }
      return {"style" + n + ".css", bytes};
    case 1:
      for (int i = r.Between(10, 40); i > 0; --i) {
        bytes += "function f" + std::to_string(i) + "() { return " +
                 std::to_string(r.Below(1000)) + "; }\r\n";
      }
      return {"script" + n + ".js", bytes};
    default:
      bytes = "GIF89a";
      for (int i = r.Between(2000, 6000); i > 0; --i) {
        bytes.push_back(static_cast<char>(r.Below(256)));
      }
      return {"picture" + n + ".gif", bytes};
  }
}

}  // namespace

CorpusStats WriteCorpus(const CorpusSpec& spec,
                        const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  std::string upper_extension = spec.extension;
  for (char& c : upper_extension) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  CorpusStats stats;
  for (int i = 0; i < spec.pages; ++i) {
    Random r(PageSeed(spec, i, 0xF11E));
    // Most names are plain; some are Arabic, some carry the extension in
    // capitals, as pages saved by hand do.
    std::string name = "page" + Utf8(Number(i, 5));
    if (r.Below(10) == 0)
      name = Utf8(kWords[r.Below(kWords.size())]) + "-" + name;
    name += "." + (r.Below(16) == 0 ? upper_extension : spec.extension);

    const std::string bytes = EncodePage(PageText(spec, i), spec.encoding);
    WriteBytes(folder / name, bytes);
    ++stats.pages;
    stats.pages_without_end += LacksEndMarker(spec, i) ? 1 : 0;
    stats.page_bytes += bytes.size();
    stats.largest_page =
        std::max<std::uint64_t>(stats.largest_page, bytes.size());

    if (spec.other_file_every > 0 &&
        i % spec.other_file_every == spec.other_file_every - 1) {
      const auto [other_name, other_bytes] = OtherFile(r, i);
      WriteBytes(folder / other_name, other_bytes);
      ++stats.other_files;
      stats.other_bytes += other_bytes.size();
    }
  }
  return stats;
}

}  // namespace vantrel::bench
