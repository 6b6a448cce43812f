// Telling each source's charset on its own (--charset detect): every step
// of the order answering in its turn, a meta that lies, and decoding the
// charsets beyond the four.
#include "extraction/text/charset_detection.h"

#include <gtest/gtest.h>
#include <unicode/ucnv.h>

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

// Real sentences ("The configuration file could not be opened. Check the
// access rights...") of the languages whose legacy charsets web pages use.
const std::u16string kRussian =
    u"Не удалось открыть файл конфигурации. Проверьте права доступа и "
    u"повторите попытку.";
const std::u16string kHebrew =
    u"לא ניתן לפתוח את קובץ התצורה. בדוק את הרשאות הגישה ונסה שוב.";
const std::u16string kCzech =
    u"Nelze otevřít konfigurační soubor. Zkontrolujte přístupová práva a "
    u"zkuste to znovu. Šifrovací klíč uživatele se nepodařilo uložit.";
const std::u16string kGreek =
    u"Δεν ήταν δυνατό το άνοιγμα του αρχείου ρυθμίσεων. Ελέγξτε τα "
    u"δικαιώματα πρόσβασης.";
const std::u16string kChinese =
    u"无法打开配置文件。请检查访问权限，然后重试。如果问题仍然存在，"
    u"请联系系统管理员。";
const std::u16string kTaiwanese =
    u"無法開啟設定檔。請檢查存取權限，然後再試一次。如果問題仍然存在，"
    u"請聯絡系統管理員。";
const std::u16string kJapanese =
    u"設定ファイルを開けませんでした。アクセス権を確認して、もう一度"
    u"やり直してください。";
const std::u16string kKorean =
    u"구성 파일을 열 수 없습니다. 액세스 권한을 확인한 후 다시 "
    u"시도하십시오.";

// The text in an ICU charset, as a page saved in it holds it.
std::string Encoded(std::u16string_view text, const char* charset) {
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open(charset, &status);
  std::string bytes(text.size() * 4 + 8, '\0');
  const int32_t n = ucnv_fromUChars(
      converter, bytes.data(), static_cast<int32_t>(bytes.size()), text.data(),
      static_cast<int32_t>(text.size()), &status);
  ucnv_close(converter);
  EXPECT_TRUE(U_SUCCESS(status)) << charset;
  bytes.resize(U_SUCCESS(status) ? static_cast<std::size_t>(n) : 0);
  return bytes;
}

// The source's text as --charset detect reads it.
std::u16string ReadAsDecided(const std::string& bytes) {
  std::u16string buffer;
  const CharsetDecision decision = DecideSourceCharset(bytes);
  buffer.resize(DecodeDecidedInto(bytes, decision, buffer));
  return buffer;
}

std::u16string Repeated(const std::u16string& text, int times) {
  std::u16string all;
  for (int i = 0; i < times; ++i) all += text + u" ";
  return all;
}

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
    if (c.reason != DetectionReason::kDetected) {
      EXPECT_EQ(decision.confidence, 0) << c.bytes;
    }
  }
}

// Web browsers' labels, the surprising ones included; those of charsets
// that ICU cannot decode name none.
TEST(CharsetDetectionTest, LabelsNameTheCharsetsWebBrowsersRead) {
  const std::pair<std::string_view, std::optional<std::string>> cases[] = {
      {"latin1", "windows-1252"},
      {" ASCII\t", "windows-1252"},
      {"iso-8859-1", "windows-1252"},
      {"iso-8859-9", "windows-1254"},
      {"asmo-708", "ISO-8859-6"},
      {"utf-16", "UTF-8"},
      {"gb2312", "GBK"},
      {"GBK", "GBK"},
      {"gb18030", "gb18030"},
      {"x-sjis", "Shift_JIS"},
      {"ks_c_5601-1987", "EUC-KR"},
      {"big5-hkscs", "Big5"},
      {"koi8", "KOI8-R"},
      {"logical", "ISO-8859-8-I"},
      {"cp1255", "windows-1255"},
      {"tis-620", "windows-874"},
      {"iso-8859-16", std::nullopt},
      {"iso-2022-kr", std::nullopt},
      {"x-user-defined", std::nullopt},
      {"klingon", std::nullopt},
  };
  for (const auto& [label, charset] : cases) {
    EXPECT_EQ(CharsetOfLabel(label), charset) << label;
  }
}

// A true meta is obeyed for every charset web pages are saved in, and the
// page reads back as it was written.
TEST(CharsetDetectionTest, TrueMetaOfAnyWebCharsetIsObeyed) {
  struct Case {
    const char* label;
    const char* icu;  // the converter that saves the page
    std::u16string text;
    std::string charset;
  };
  const Case cases[] = {
      {"koi8-r", "KOI8-R", kRussian, "KOI8-R"},
      {"windows-1251", "windows-1251", kRussian, "windows-1251"},
      {"iso-8859-5", "ISO-8859-5", kRussian, "ISO-8859-5"},
      {"windows-1255", "windows-1255", kHebrew, "windows-1255"},
      {"iso-8859-8", "ISO-8859-8", kHebrew, "ISO-8859-8"},
      {"iso-8859-2", "ISO-8859-2", kCzech, "ISO-8859-2"},
      {"windows-1250", "windows-1250", kCzech, "windows-1250"},
      {"windows-1253", "windows-1253", kGreek, "windows-1253"},
      {"gbk", "GBK", kChinese, "GBK"},
      {"gb2312", "GBK", kChinese, "GBK"},
      {"gb18030", "GB18030", kChinese, "gb18030"},
      {"big5", "Big5", kTaiwanese, "Big5"},
      {"shift_jis", "Shift_JIS", kJapanese, "Shift_JIS"},
      {"x-sjis", "Shift_JIS", kJapanese, "Shift_JIS"},
      {"euc-jp", "EUC-JP", kJapanese, "EUC-JP"},
      {"iso-2022-jp", "ISO-2022-JP", kJapanese, "ISO-2022-JP"},
      {"euc-kr", "EUC-KR", kKorean, "EUC-KR"},
  };
  for (const Case& c : cases) {
    for (const std::string& head :
         {"<meta charset=\"" + std::string(c.label) + "\">",
          "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=" +
              std::string(c.label) + "\">"}) {
      const std::string page = "<html><head>" + head + "</head><body><p>" +
                               Encoded(c.text, c.icu) + "</p></body></html>";
      const CharsetDecision decision = DecideSourceCharset(page);
      EXPECT_EQ(decision.name, c.charset) << head;
      EXPECT_EQ(decision.reason, DetectionReason::kMeta) << head;
      EXPECT_NE(ReadAsDecided(page).find(c.text), std::u16string::npos) << head;
    }
  }
}

// A charset declared outside the bytes (a web archive's HTTP header)
// counts as a meta does, and wins over the page's own meta.
TEST(CharsetDetectionTest, DeclaredCharsetCountsAsMeta) {
  const std::string russian = Encoded(kRussian, "windows-1251");
  const struct {
    std::string page;
    std::string declared;
    std::string charset;
    DetectionReason reason;
  } cases[] = {
      {"<p>" + russian + "</p>", "Windows-1251", "windows-1251",
       DetectionReason::kMeta},
      {"<meta charset=\"koi8-r\"><p>" + russian + "</p>", "cp1251",
       "windows-1251", DetectionReason::kMeta},
      {"<p>\xc7\xe1</p>", "windows-1256", "windows-1256",
       DetectionReason::kMeta},
      {"<p>\xc7\xe1</p>", "", "windows-1256", DetectionReason::kDetected},
      {"<p>\xc7\xe1</p>", "no-such-label", "windows-1256",
       DetectionReason::kDetected},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.declared);
    const CharsetDecision decision = DecideSourceCharset(c.page, c.declared);
    EXPECT_EQ(decision.name, c.charset);
    EXPECT_EQ(decision.reason, c.reason);
  }
}

// Without a meta, the statistics tell the legacy charsets of the web's major
// languages from a hundred characters on, and the text reads back as it was
// written, with no U+FFFD.
TEST(CharsetDetectionTest, StatisticsTellLegacyCharsets) {
  struct Case {
    const char* icu;
    std::u16string text;
    std::string charset;
  };
  const Case cases[] = {
      {"KOI8-R", kRussian, "KOI8-R"},
      {"windows-1251", kRussian, "windows-1251"},
      {"windows-1255", kHebrew, "windows-1255"},
      {"windows-1250", kCzech, "windows-1250"},
      {"ISO-8859-2", kCzech, "ISO-8859-2"},
      {"ISO-8859-7", kGreek, "ISO-8859-7"},
      {"GB18030", kChinese, "gb18030"},
      {"Big5", kTaiwanese, "Big5"},
      {"Shift_JIS", kJapanese, "Shift_JIS"},
      {"EUC-JP", kJapanese, "EUC-JP"},
      {"EUC-KR", kKorean, "EUC-KR"},
  };
  for (const Case& c : cases) {
    const std::u16string text = Repeated(c.text, 2);
    const std::string page =
        "<html><body><p>" + Encoded(text, c.icu) + "</p></body></html>";
    const CharsetDecision decision = DecideSourceCharset(page);
    EXPECT_EQ(decision.name, c.charset) << c.icu;
    EXPECT_EQ(decision.reason, DetectionReason::kDetected) << c.icu;
    EXPECT_FALSE(decision.low_confidence) << c.icu;
    const std::u16string read = ReadAsDecided(page);
    EXPECT_NE(read.find(text), std::u16string::npos) << c.icu;
    EXPECT_EQ(read.find(u'\uFFFD'), std::u16string::npos) << c.icu;
  }
}

// UTF-16 without a signature is told by its 0x00 bytes whatever its script,
// Chinese, Japanese and Korean included, whose other bytes are seldom
// 0x00-0x07.
TEST(CharsetDetectionTest, PlainUtf16OfAnyScript) {
  for (const std::u16string& text : {kChinese, kJapanese, kKorean}) {
    const std::u16string page = u"<p>" + text + u"</p>";
    for (const char* icu : {"UTF-16LE", "UTF-16BE"}) {
      const std::string bytes = Encoded(page, icu);
      const CharsetDecision decision = DecideSourceCharset(bytes);
      EXPECT_EQ(decision.name, icu);
      EXPECT_EQ(decision.reason, DetectionReason::kUtf16) << icu;
      EXPECT_EQ(ReadAsDecided(bytes), page) << icu;
    }
  }
}

// No step chooses a charset that some byte of the source is not in: a meta
// whose charset the bytes leave only beyond the first 64 KiB, and the
// statistics, whose candidates are tried on the whole source.
TEST(CharsetDetectionTest, NeverChoosesCharsetTheBytesAreNotIn) {
  const std::string arabic =
      "<meta charset=iso-8859-6><p>" + Repeated(kArabic88596, 3000) +
      "\xDB\xDC</p>";  // two letters that only windows-1256 has
  const std::string japanese = "<meta charset=euc-kr><p>" +
                               Encoded(Repeated(kJapanese, 2), "Shift_JIS") +
                               "</p>";
  for (const std::string& page : {arabic, japanese}) {
    const std::u16string read = ReadAsDecided(page);
    EXPECT_EQ(read.find(u'\uFFFD'), std::u16string::npos)
        << DecideSourceCharset(page).name;
    EXPECT_NE(DecideSourceCharset(page).reason, DetectionReason::kMeta);
  }
}

// A guess that the two detectors do not both back is marked as one; a clear
// one is not.
TEST(CharsetDetectionTest, LowConfidenceMarksAShakyGuess) {
  const CharsetDecision shaky =
      DecideSourceCharset("[" + Encoded(u"Дом", "KOI8-R") + "]");
  EXPECT_EQ(shaky.reason, DetectionReason::kDetected);
  EXPECT_TRUE(shaky.low_confidence) << shaky.name;
  const CharsetDecision clear =
      DecideSourceCharset("<p>" + Encoded(Repeated(kRussian, 2), "KOI8-R"));
  EXPECT_EQ(clear.name, "KOI8-R");
  EXPECT_FALSE(clear.low_confidence);
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
      // Web browsers' EUC-KR and Shift_JIS are the Windows code pages:
      // 똠 and ① are beyond ICU's plain EUC-KR and Shift_JIS.
      {"\x8C\x63", "EUC-KR", u"\uB620"},
      {"\x87\x40", "Shift_JIS", u"\u2460"},
      // A four-byte GB18030 sequence is two units, 𠀀.
      {"\x95\x32\x82\x36"
       "a",
       "gb18030", u"\U00020000a"},
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
