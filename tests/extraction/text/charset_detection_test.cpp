// Telling each source's charset on its own (--charset detect): every step
// of the order answering in its turn, a meta that lies, and decoding the
// charsets beyond the four.
#include "extraction/text/charset_detection.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

using namespace std::string_literals;

// "مرحبا بكم في هذا الموقع" (welcome to this site) in windows-1256 and in
// ISO-8859-6.
const std::string kArabic1256 =
    "\xE3\xD1\xCD\xC8\xC7 \xC8\xDF\xE3 \xDD\xED \xE5\xD0\xC7 "
    "\xC7\xE1\xE3\xE6\xDE\xDA";
const std::string kArabic88596 =
    "\xE5\xD1\xCD\xC8\xC7 \xC8\xE3\xE5 \xE1\xEA \xE7\xD0\xC7 "
    "\xC7\xE4\xE5\xE8\xE2\xD9";

std::string Repeated(const std::string& text, int times) {
  std::string all;
  for (int i = 0; i < times; ++i) all += text + " ";
  return all;
}

TEST(CharsetDetectionTest, FirstStepThatAnswersDecides) {
  struct Case {
    std::string bytes;
    std::string charset;
    DetectionReason reason;
  };
  const std::string lying = "<meta charset=\"iso-8859-6\">";
  const Case cases[] = {
      // A signature wins over everything behind it.
      {"\xEF\xBB\xBF" + lying + kArabic1256, "UTF-8",
       DetectionReason::kSignature},
      {"\xFF\xFEh\0i\0"s, "UTF-16LE", DetectionReason::kSignature},
      {"\xFE\xFF\0h\0i"s, "UTF-16BE", DetectionReason::kSignature},
      // Valid UTF-8 beyond ASCII wins over a meta that says otherwise.
      {lying + "\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7", "UTF-8",
       DetectionReason::kUtf8},
      // UTF-16 without a signature: Arabic (high byte 06) and Latin.
      {"\x45\x06\x31\x06\x2D\x06\x28\x06 \0"s, "UTF-16LE",
       DetectionReason::kUtf16},
      {"\0<\0p\0>\0h\0i"s, "UTF-16BE", DetectionReason::kUtf16},
      // The meta, in its two forms and by its labels.
      {"<meta charset=ARABIC>" + kArabic88596, "ISO-8859-6",
       DetectionReason::kMeta},
      {"<meta http-equiv=\"Content-Type\" content=\"text/html; "
       "charset=latin1\">caf\xE9",
       "windows-1252", DetectionReason::kMeta},
      {"<meta charset='utf-16'><p>hi</p>", "UTF-8", DetectionReason::kMeta},
      // A meta that names a charset the page's bytes cannot be in, or that
      // lies where they can, or inside a comment, or without http-equiv.
      {"<meta charset=utf-8>" + Repeated(kArabic1256, 6), "windows-1256",
       DetectionReason::kDetected},
      {"<meta charset=iso-8859-6>" + Repeated(kArabic1256, 6), "windows-1256",
       DetectionReason::kDetected},
      {"<meta charset=windows-1256>" + kArabic88596, "ISO-8859-6",
       DetectionReason::kDetected},
      {"<meta http-equiv=\"Content-Type\" content=\"text/html; "
       "charset=cp1256\">" +
           Repeated(kArabic88596, 6),
       "ISO-8859-6", DetectionReason::kDetected},
      {"<meta charset=windows-1256>" + kArabic1256, "windows-1256",
       DetectionReason::kMeta},
      {"<!-- <meta charset=latin1> -->" + Repeated(kArabic1256, 6),
       "windows-1256", DetectionReason::kDetected},
      {"<meta content=\"text/html; charset=latin1\">" +
           Repeated(kArabic88596, 6),
       "ISO-8859-6", DetectionReason::kDetected},
      // The detector judges the text, not the script around it.
      {"<script>var s = 'caf\xE9 na\xEFve';</script><p>" +
           Repeated(kArabic1256, 6) + "</p>",
       "windows-1256", DetectionReason::kDetected},
      // Short Arabic text, which ICU's detector alone takes for UTF-8 or
      // the other Arabic charset: "تعذّر تحصيص ذ" in ISO-8859-6,
      // "سلوفاكيا في" in windows-1256.
      {"[\xCA\xD9\xD0\xF1\xD1 \xCA\xCD\xD5\xEA\xD5 \xD0]", "ISO-8859-6",
       DetectionReason::kDetected},
      {"[\xD3\xE1\xE6\xDD\xC7\xDF\xED\xC7 \xDD\xED]", "windows-1256",
       DetectionReason::kDetected},
      // Plain ASCII is left to the default.
      {"<p>hello</p>", "windows-1256", DetectionReason::kDefault},
      {"", "windows-1256", DetectionReason::kDefault},
  };
  for (const Case& c : cases) {
    const CharsetDecision decision = DecideSourceCharset(c.bytes);
    EXPECT_EQ(decision.name, c.charset) << c.bytes;
    EXPECT_EQ(DetectionReasonName(decision.reason),
              DetectionReasonName(c.reason))
        << c.bytes;
    EXPECT_EQ(decision.confidence > 0, c.reason == DetectionReason::kDetected)
        << c.bytes;
  }
}

TEST(CharsetDetectionTest, DecodesEveryDecidedCharset) {
  struct Case {
    std::string bytes;
    std::string charset;
    std::u16string text;
  };
  const Case cases[] = {
      {"\xEF\xBB\xBFh\xC3\xA9", "UTF-8", u"h\u00E9"},
      {"\xC7\xE1", "windows-1256", u"\u0627\u0644"},
      {"\xC7\xE4", "ISO-8859-6", u"\u0627\u0644"},
      {"caf\xE9\x80", "windows-1252", u"caf\u00E9\u20AC"},
      {"\xE1\xE5", "ISO-8859-7", u"\u03B1\u03B5"},
  };
  for (const Case& c : cases) {
    CharsetDecision decision = DecideSourceCharset("");
    decision.name = c.charset;
    decision.fast.reset();
    if (c.charset == "UTF-8") decision.fast = Charset::kUtf8;
    if (c.charset == "windows-1256") decision.fast = Charset::kWindows1256;
    std::u16string buffer(40, u'x');
    const std::size_t n = DecodeDecidedInto(c.bytes, decision, buffer);
    EXPECT_EQ(buffer.substr(0, n), c.text) << c.charset;
  }
}

}  // namespace
}  // namespace vantrel
