// Naming a source's charset from its first bytes, reading and decoding it,
// and encoding the output.
#include "extraction/text/charsets.h"

#include <gtest/gtest.h>

#include "extraction/source/source_reading.h"
#include "tests/support/pages.h"
#include "tests/support/temp_folder.h"

namespace vantrel {
namespace {

using namespace std::string_literals;

TEST(TestFileTest, FirstBytesNameTheCharset) {
  struct Case {
    std::string bytes;
    Charset charset;
  };
  const Case cases[] = {
      {"\xFF\xFE", Charset::kUtf16Le},
      {"\xFF\xFE\xEF rest", Charset::kUtf16Le},
      {"\xFE\xFF\x00h", Charset::kUtf16Be},
      {"\xEF\xBB\xBF<html>", Charset::kUtf8},
      {"\xEF\xBB", Charset::kWindows1256},
      {"\xEF\xBB<html>", Charset::kWindows1256},
      {"<html>\xEF\xBB\xBF", Charset::kWindows1256},
      {"h\0t\0m\0"s, Charset::kWindows1256},  // UTF-16 without a signature
      {"\xC3\xA9t\xC3\xA9", Charset::kWindows1256},  // UTF-8 without one
      {"", Charset::kWindows1256},
      {"\xFF", Charset::kWindows1256},
  };
  testing::TempFolder dir;
  for (const Case& c : cases) {
    EXPECT_EQ(TestFile(dir.create("f", c.bytes)), c.charset)
        << ::testing::PrintToString(c.bytes);
  }
}

TEST(DecodeTextTest, DecodesEachCharsetAndLeavesItsSignatureOut) {
  struct Case {
    std::string bytes;
    Charset charset;
    std::u16string text;
  };
  const Case cases[] = {
      {"\xFF\xFEh\0\xE9\0"s, Charset::kUtf16Le, u"h\u00e9"},
      {"h\0i\0"s, Charset::kUtf16Le, u"hi"},  // later files may lack it
      {"\xFE\xFF\0h\x06\x28"s, Charset::kUtf16Be, u"h\u0628"},
      {"\xEF\xBB\xBFh\xC3\xA9", Charset::kUtf8, u"h\u00e9"},
      {"\xEF\xBB\xBF\xEF\xBB\xBFx", Charset::kUtf8, u"\uFEFFx"},  // only one
      {"\xFF\xFE", Charset::kUtf16Le, u""},
      {"", Charset::kUtf8, u""},
      {"\xEF\xBB\xBF", Charset::kWindows1256, u"\u00EF\u00BB\u061F"},
  };
  for (const Case& c : cases) {
    std::u16string text = u"left over";
    DecodeText(c.bytes, c.charset, text);
    EXPECT_EQ(text, c.text) << ::testing::PrintToString(c.bytes);
  }
}

TEST(DecodeTextTest, IllFormedInputIsKeptOrReplacedNeverDropped) {
  struct Case {
    std::string bytes;
    Charset charset;
    std::u16string text;
  };
  const Case cases[] = {
      // (Ill-formed UTF-8 is decoded as ICU does: utf8_decoder_test.)
      // UTF-16: unpaired surrogates stay; an odd last byte is U+FFFD.
      {"\x00\xD8x\0"s, Charset::kUtf16Le, u"\xD800x"},
      {"\xDC\x00"s, Charset::kUtf16Be, u"\xDC00"},
      {"h\0i"s, Charset::kUtf16Le, u"h\uFFFD"},
      {"\xFE\xFF\0h\0"s, Charset::kUtf16Be, u"h\uFFFD"},
  };
  std::u16string text = u"old content";
  for (const Case& c : cases) {
    DecodeText(c.bytes, c.charset, text);
    EXPECT_EQ(text, c.text) << ::testing::PrintToString(c.bytes);
  }
}

TEST(EncodeTextTest, OutputFormats) {
  struct Case {
    std::u16string text;
    OutputFormat format;
    std::string bytes;
  };
  const Case cases[] = {
      {u"h\u00e9\U0001F600", OutputFormat::kUtf16Le,
       "h\0\xE9\0\x3D\xD8\x00\xDE"s},
      {u"\xD800", OutputFormat::kUtf16Le, "\x00\xD8"s},
      {u"a\u4E00b\U0001F600c", OutputFormat::kWindows1256, "a?b?c"},
  };
  for (const Case& c : cases) {
    std::string bytes;
    EncodeText(c.text, c.format, bytes);
    EXPECT_EQ(bytes, c.bytes);
  }
}

}  // namespace
}  // namespace vantrel
