// Text conversions: file names between the file system's bytes and the
// engine's text, UTF-8, and the case operations of the run's comparisons.
#include "extraction/text/text.h"

#include <gtest/gtest.h>

#include "extraction/text/native_names.h"

namespace vantrel {
namespace {

TEST(NativeNamesTest, AnyBytesComeBackUnchanged) {
  const std::string names[] = {
      "plain.htm",
      "caf\xC3\xA9.htm",
      "\xF0\x9F\x98\x80.htm",
      "bad\xFF\xFE.htm",
      "\xC3",          // truncated sequence
      "\xED\xB2\x80",  // an encoded surrogate
      "\xC0\xAF",      // overlong
      std::string("\x01\x7F\x80\x9F", 4),
  };
  for (const std::string& name : names) {
    EXPECT_EQ(TextToNative(NativeToText(name)), name)
        << ::testing::PrintToString(name);
  }
}

TEST(NativeNamesTest, DisplayShowsBadBytesAndControlsAsReplacement) {
  struct Case {
    std::string bytes;
    std::u16string shown;
  };
  const Case cases[] = {
      {"caf\xC3\xA9.htm", u"caf\u00e9.htm"},
      {"bad\xFF.htm", u"bad\uFFFD.htm"},
      {"a\r\nb\tc\x1b[0m", u"a\uFFFD\uFFFDb\uFFFDc\uFFFD[0m"},
      {"del\x7F", u"del\uFFFD"},
      {"c1\xC2\x85", u"c1\uFFFD"},  // NEL, a C1 control
      {"\xF0\x9F\x98\x80", u"\U0001F600"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DisplayName(NativeToText(c.bytes)), c.shown)
        << ::testing::PrintToString(c.bytes);
  }
}

TEST(TextTest, CaseAndUtf8) {
  EXPECT_EQ(LowerCase(u"HTM\u00C9\u0130"), u"htm\u00e9i\u0307");
  // No context rules: a final capital sigma lower-cases like any other.
  EXPECT_EQ(LowerCase(u"\u03A3\u03A3"), u"\u03C3\u03C3");
  EXPECT_EQ(FoldCase(u"Stra\u00DFe"), u"strasse");
  EXPECT_EQ(StrictUtf8ToText("ok \xC3\xA9"), u"ok \u00e9");
  EXPECT_EQ(StrictUtf8ToText("bad \xFF"), std::nullopt);
  // Well-formed exactly where the strict decoding succeeds, whichever of
  // its ways (eight ASCII bytes, a two-byte sequence, the rest) meets it.
  for (const std::string_view bytes :
       {"ok \xC3\xA9", "12345678\xD9\x85", "\xC0\x80", "\xC1\xBF", "\xC2",
        "abcdefgh\xC2", "\xC2\x41", "\xED\xA0\x80", "\xF0\x9F\x98\x80",
        "\xF4\x90\x80\x80", "abcdefg\x80"}) {
    EXPECT_EQ(IsWellFormedUtf8(bytes), StrictUtf8ToText(bytes).has_value())
        << ::testing::PrintToString(std::string(bytes));
  }
  EXPECT_EQ(TextToUtf8(u"a\xD800"
                       u"b\U0001F600"),
            "a\xEF\xBF\xBD"
            "b\xF0\x9F\x98\x80");
}

}  // namespace
}  // namespace vantrel
