// Why a file gave no piece: each kind of near miss with its line, the order
// in which they are looked for, and no hint for a clean miss.
#include "extraction/near_miss.h"

#include <gtest/gtest.h>

#include "extraction/text.h"

namespace vantrel {
namespace {

using namespace std::string_literals;

struct Case {
  const char* what;
  std::string bytes;  // the file, decoded as `charset`
  Charset charset;
  std::u16string start, end;
  std::optional<Hint::Kind> kind;
  std::string text;  // the hint's sentence
};

TEST(NearMissTest, FirstReasonThatAppliesWithItsLine) {
  const auto kNone = std::nullopt;
  const Case cases[] = {
      {"clean miss", "no markers here", Charset::kUtf8, u"<p>", u"</p>", kNone,
       ""},
      {"LF in the page, CR LF in the marker", "x\n<p>\nA</p>", Charset::kUtf8,
       u"<p>\r\n", u"</p>", Hint::Kind::kLineBreaks,
       "the start marker is there at line 2 with LF line breaks; the marker "
       "has CR LF"},
      {"letter case", "x\r\ny\r\n<P>A</p>", Charset::kUtf8, u"<p>", u"</p>",
       Hint::Kind::kLetterCase,
       "the start marker is there at line 3 in other letter case"},
      {"letter case and line breaks", "<P>\nA</p>", Charset::kUtf8, u"<p>\r\n",
       u"</p>", Hint::Kind::kLetterCase,
       "the start marker is there at line 1 in other letter case and with "
       "other line breaks"},
      {"spacing", "<div  class=x>A</div>", Charset::kUtf8, u"<div class=x>",
       u"</div>", Hint::Kind::kSpacing,
       "the start marker is there at line 1 with other spacing"},
      {"end marker, line breaks", "<p>A\n</p>\n", Charset::kUtf8, u"<p>",
       u"\r\n</p>", Hint::Kind::kLineBreaks,
       "the end marker is there at line 1 with LF line breaks; the marker "
       "has CR LF"},
      {"end before start", "</p>\n<p>A", Charset::kUtf8, u"<p>", u"</p>",
       Hint::Kind::kEndBeforeStart,
       "the end marker is there at line 1 only before the start marker (line "
       "2)"},
      // The charset comes first, before any search.
      {"another signature", "\xFF\xFE<\0p\0>\0"s, Charset::kUtf8, u"<p>",
       u"</p>", Hint::Kind::kCharset,
       "starts with a UTF-16LE signature, but this run reads every file as "
       "UTF-8, decided by first.htm"},
      {"UTF-8 without a signature", "\xD9\x85\xD8\xAA\xD9\x86",
       Charset::kWindows1256, u"\u0645\u062A\u0646", u"", Hint::Kind::kCharset,
       "looks like UTF-8 without a signature, but this run reads every file "
       "as windows-1256, decided by first.htm"},
      {"ASCII marker: not a charset question", "x \xD9\x85",
       Charset::kWindows1256, u"<p>", u"", kNone, ""},
  };
  for (const Case& c : cases) {
    std::u16string text;
    DecodeText(c.bytes, c.charset, text);
    const NearMissRun run{c.start, c.end, {}, c.charset, u"first.htm"};
    const Cut cut = CutPiece(text, ExactMatcher(c.start), ExactMatcher(c.end));
    ASSERT_NE(cut.outcome, FileOutcome::kExtracted) << c.what;
    const std::optional<Hint> hint = FindNearMiss(run, c.bytes, text, cut);
    ASSERT_EQ(hint.has_value(), c.kind.has_value()) << c.what;
    if (!hint) continue;
    EXPECT_EQ(hint->kind, *c.kind) << c.what;
    EXPECT_EQ(TextToUtf8(hint->text), c.text) << c.what;
    EXPECT_EQ(hint->end_marker, cut.outcome == FileOutcome::kNoEnd) << c.what;
  }
}

// A tolerance the run already has is no reason: with --line-breaks any, a
// page that differs only in its line breaks is not a near miss but a match,
// and one that differs in letter case as well is a letter-case miss.
TEST(NearMissTest, TolerancesOfTheRunAreNoReason) {
  const std::u16string text = u"<P>\nA</p>";
  const MatchOptions breaks{.line_breaks_any = true};
  const NearMissRun run{u"<p>\r\n", u"</p>", breaks, Charset::kUtf8, u""};
  const Cut cut = CutPiece(text, *MakeMatcher(run.start_marker, breaks),
                           *MakeMatcher(run.end_marker, breaks));
  const auto hint = FindNearMiss(run, "", text, cut);
  ASSERT_TRUE(hint.has_value());
  EXPECT_EQ(hint->kind, Hint::Kind::kLetterCase);
  EXPECT_EQ(hint->line, 1);
}

}  // namespace
}  // namespace vantrel
