// Why a file gave no piece: each kind of near miss with its line, the order
// in which they are looked for, and no hint for a clean miss.
#include "extraction/explain/near_miss.h"

#include <gtest/gtest.h>

#include "extraction/match/regex_matcher.h"
#include "extraction/text/text.h"

namespace vantrel {
namespace {

using namespace std::string_literals;

struct Case {
  const char* what;
  std::string bytes;  // the file, decoded as `charset`
  Charset charset;
  std::u16string start, end;
  std::optional<NearMiss::Kind> kind;
  std::string text;            // the hint's sentence
  MatchOptions matching = {};  // the run's
};

TEST(NearMissTest, FirstReasonThatAppliesWithItsLine) {
  const auto kNone = std::nullopt;
  const Case cases[] = {
      {"clean miss", "no markers here", Charset::kUtf8, u"<p>", u"</p>", kNone,
       ""},
      {"LF in the page, CR LF in the marker", "x\n<p>\nA</p>", Charset::kUtf8,
       u"<p>\r\n", u"</p>", NearMiss::Kind::kLineBreaks,
       "the start marker is there at line 2 with LF line breaks; the marker "
       "has CR LF"},
      {"letter case", "x\r\ny\r\n<P>A</p>", Charset::kUtf8, u"<p>", u"</p>",
       NearMiss::Kind::kLetterCase,
       "the start marker is there at line 3 in other letter case"},
      {"letter case and line breaks", "<P>\nA</p>", Charset::kUtf8, u"<p>\r\n",
       u"</p>", NearMiss::Kind::kLetterCase,
       "the start marker is there at line 1 in other letter case and with "
       "other line breaks"},
      {"spacing", "<div  class=x>A</div>", Charset::kUtf8, u"<div class=x>",
       u"</div>", NearMiss::Kind::kSpacing,
       "the start marker is there at line 1 with other spacing"},
      {"end marker, line breaks", "<p>A\n</p>\n", Charset::kUtf8, u"<p>",
       u"\r\n</p>", NearMiss::Kind::kLineBreaks,
       "the end marker is there at line 1 with LF line breaks; the marker "
       "has CR LF"},
      {"end before start", "</p>\n<p>A", Charset::kUtf8, u"<p>", u"</p>",
       NearMiss::Kind::kEndBeforeStart,
       "the end marker is there at line 1 only before the start marker (line "
       "2)"},
      // The charset comes first, before any search.
      {"another signature", "\xFF\xFE<\0p\0>\0"s, Charset::kUtf8, u"<p>",
       u"</p>", NearMiss::Kind::kCharset,
       "starts with a UTF-16LE signature, but this run reads every file as "
       "UTF-8, decided by first.htm"},
      {"UTF-8 without a signature", "\xD9\x85\xD8\xAA\xD9\x86",
       Charset::kWindows1256, u"\u0645\u062A\u0646", u"",
       NearMiss::Kind::kCharset,
       "looks like UTF-8 without a signature, but this run reads every file "
       "as windows-1256, decided by first.htm"},
      {"ASCII marker: not a charset question", "x \xD9\x85",
       Charset::kWindows1256, u"<p>", u"", kNone, ""},
      // Without a signature, the bytes tell the charset that has the marker.
      {"UTF-8 page in a UTF-16LE run", "<b>two</b>", Charset::kUtf16Le, u"<b>",
       u"</b>", NearMiss::Kind::kCharset,
       "has the start marker when read as UTF-8, but this run reads every "
       "file as UTF-16LE, decided by first.htm"},
      {"UTF-16LE page without a signature in a UTF-8 run",
       "<\0b\0>\0t\0<\0/\0b\0>\0"s, Charset::kUtf8, u"<b>", u"</b>",
       NearMiss::Kind::kCharset,
       "has the start marker when read as UTF-16LE, but this run reads every "
       "file as UTF-8, decided by first.htm"},
      {"end marker in UTF-16BE", "\0<\0b\0>\0t\0<\0/\0b\0>"s, Charset::kUtf8,
       u"", u"</b>", NearMiss::Kind::kCharset,
       "has the end marker when read as UTF-16BE, but this run reads every "
       "file as UTF-8, decided by first.htm"},
      // Nothing behind the start: the run looks for no end there, nor may a
      // hint, and an end pattern that matches nothing matches anywhere.
      {"used up by the start",
       "abc",
       Charset::kUtf8,
       u"c",
       u"x*",
       kNone,
       "",
       {.regex = true}},
      // A hint's pattern sees the text before the start, as the run's does.
      {"anchored end pattern",
       "foobar bar.",
       Charset::kUtf8,
       u"foo",
       u"^bar",
       kNone,
       "",
       {.regex = true}},
  };
  for (const Case& c : cases) {
    std::u16string text;
    DecodeText(c.bytes, c.charset, text);
    const NearMissRun run{c.start, c.end, c.matching, c.charset, u"first.htm"};
    const CutResult cut = CutPiece(text, *MakeMatcher(c.start, c.matching),
                                   *MakeMatcher(c.end, c.matching));
    ASSERT_NE(cut.outcome, FileOutcome::kExtracted) << c.what;
    const std::optional<NearMiss> hint = FindNearMiss(run, c.bytes, text, cut);
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
  const CutResult cut = CutPiece(text, *MakeMatcher(run.start_marker, breaks),
                                 *MakeMatcher(run.end_marker, breaks));
  const auto hint = FindNearMiss(run, "", text, cut);
  ASSERT_TRUE(hint.has_value());
  EXPECT_EQ(hint->kind, NearMiss::Kind::kLetterCase);
  EXPECT_EQ(hint->line, 1);
}

// A check takes a small share of the time that the run's own search may
// take: as the text grows, the letter-case check of a pattern that runs
// away gives up (and so gives no hint) on a text that a run with
// --ignore-case still looks through.
TEST(NearMissTest, PatternCheckGivesUpBeforeTheRunsSearchWould) {
  const MatchOptions run_matching{.regex = true};
  const MatchOptions ignoring_case{.ignore_case = true, .regex = true};
  const std::u16string pattern = u"(a+)+c";
  for (std::size_t n = 8; n < 40; ++n) {
    // Each A before the B doubles the time the pattern takes to fail there.
    const std::u16string text = std::u16string(n, u'A') + u"B AAC";
    const NearMissRun run{pattern, u"", run_matching, Charset::kUtf8, u""};
    const CutResult cut = CutPiece(text, *MakeMatcher(pattern, run_matching),
                                   *MakeMatcher(u"", run_matching));
    ASSERT_EQ(cut.outcome, FileOutcome::kNoStart);
    const auto hint = FindNearMiss(run, "", text, cut);
    bool run_runs_away = false;
    try {
      MakeMatcher(pattern, ignoring_case)->Find(text);
    } catch (const PatternTimeout&) {
      run_runs_away = true;
    }
    if (!hint) {
      EXPECT_FALSE(run_runs_away) << n << " As: the check took as long";
      return;
    }
    ASSERT_FALSE(run_runs_away) << n;
    EXPECT_EQ(hint->kind, NearMiss::Kind::kLetterCase) << n;
  }
  ADD_FAILURE() << "the pattern never ran away";
}

}  // namespace
}  // namespace vantrel
