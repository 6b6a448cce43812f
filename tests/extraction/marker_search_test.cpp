// The marker search tests sixteen bytes of places at a time and compares in
// full only where the first and last units match. These cases hold it, in
// units and in bytes, to the plain definition: the first place where every
// unit of the marker matches.
#include "extraction/marker_search.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "extraction/cut.h"
#include "extraction/matchers.h"
#include "extraction/regex_matcher.h"

namespace vantrel {
namespace {

// 1-based position of the first place where all units match, 0 for none;
// an empty marker is at 1 in a non-empty text.
std::size_t PlainSearch(std::u16string_view text, std::u16string_view marker) {
  if (text.empty()) return 0;
  for (std::size_t at = 0; at + marker.size() <= text.size(); ++at) {
    if (text.substr(at, marker.size()) == marker) return at + 1;
  }
  return 0;
}

// FindMarker's answer as a 1-based position, 0 for none; a match is always
// as long as the marker.
std::size_t Position(std::u16string_view text, std::u16string_view marker) {
  const auto found = FindMarker(text, marker);
  if (!found) return 0;
  EXPECT_EQ(found->size(), marker.size());
  return found->begin + 1;
}

// The same for FindBytes on the low byte of each unit, which must find the
// same place wherever that keeps the units apart.
std::size_t BytePosition(std::u16string_view text, std::u16string_view marker) {
  const auto low_bytes = [](std::u16string_view units) {
    std::string bytes;
    for (char16_t unit : units) bytes.push_back(static_cast<char>(unit));
    return bytes;
  };
  const auto found = FindBytes(low_bytes(text), low_bytes(marker));
  if (!found) return 0;
  EXPECT_EQ(found->size(), marker.size());
  return found->begin + 1;
}

bool Narrow(std::u16string_view units) {
  for (char16_t unit : units) {
    if (unit >= 0x80) return false;
  }
  return true;
}

TEST(FindMarkerTest, Cases) {
  const std::u16string block(40, u'x');  // longer than several blocks of 8
  const struct {
    std::u16string text;
    std::u16string marker;
    std::size_t position;
  } cases[] = {
      {u"", u"", 0},
      {u"", u"a", 0},
      {u"a", u"", 1},
      {u"ab", u"abc", 0},  // longer than the text
      {u"abc", u"abc", 1},
      {u"abc", u"c", 3},
      {u"aaab", u"ab", 3},
      {u"a]b[c]", u"]", 2},
      // First and last units match, the middle does not, several times in
      // one block, before the real one.
      {u"a-b a+b a*b a=b", u"a=b", 13},
      {u"<Div>\r\n<Dav>\r\n<Div>", u"<Div>\r\n<Div>", 0},
      {u"<Dav>\r\n<Div>\r\n<Div>", u"<Div>\r\n<Div>", 8},
      // At the last place the marker fits, past whole blocks of 8.
      {block + u"end", u"end", 41},
      {block + u"en", u"end", 0},
      {block + u"e", block + u"e", 1},
      // Surrogates are units like any other: a lone half matches half of a
      // pair, and a pair matches only a pair.
      {u"a\U0001F600b", u"\xD83D", 2},
      {u"a\U0001F600b",
       u"\xDE00"
       u"b",
       3},
      {u"a\xD83D\xD83D\U0001F600", u"\U0001F600", 4},
      {u"\U0001F601\U0001F600", u"\U0001F600", 3},
      // Case and line breaks count.
      {u"<div>", u"<Div>", 0},
      {u"a\nb\r\nc", u"\r\nc", 4},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Position(c.text, c.marker), c.position)
        << "marker of " << c.marker.size() << " in text of " << c.text.size();
    EXPECT_EQ(PlainSearch(c.text, c.marker), c.position);  // the table is right
    if (Narrow(c.text) && Narrow(c.marker)) {
      EXPECT_EQ(BytePosition(c.text, c.marker), c.position);
    }
  }
}

// The piece is what stands between the first start marker and the first end
// marker behind its end.
TEST(CutPieceTest, Cases) {
  constexpr auto kNoStart = FileOutcome::kNoStart;
  constexpr auto kNoEnd = FileOutcome::kNoEnd;
  constexpr auto kExtracted = FileOutcome::kExtracted;
  struct Case {
    std::u16string text, start, end;
    FileOutcome outcome;
    std::u16string piece;
  };
  const Case cases[] = {
      {u"a[b]c[d]", u"[", u"]", kExtracted, u"b"},
      {u"x]y[z]", u"[", u"]", kExtracted, u"z"},  // an end before the start
      {u"abc", u"ab", u"b", kNoEnd, u""},         // the end overlaps the start
      {u"[]", u"[", u"]", kExtracted, u""},
      {u"[[x]]", u"[", u"]", kExtracted, u"[x"},
      {u"axbxc", u"x", u"x", kExtracted, u"b"},  // the same marker twice
      {u"A[B]", u"a[", u"]", kNoStart, u""},
      {u"<p>\nx</p>", u"<p>\r\n", u"</p>", kNoStart, u""},
      {u"<p>\r\nx</p>", u"<p>\r\n", u"</p>", kExtracted, u"x"},
      {u"ab", u"abc", u"", kNoStart, u""},
      // Empty markers: the start at the first character, the end at once,
      // but neither in an empty text.
      {u"abc]", u"", u"]", kExtracted, u"abc"},
      {u"[abc", u"[", u"", kExtracted, u""},
      {u"abc[", u"[", u"", kNoEnd, u""},
      {u"", u"", u"", FileOutcome::kCantRead, u""},
  };
  for (const Case& c : cases) {
    const Cut cut =
        CutPiece(c.text, ExactMatcher(c.start), ExactMatcher(c.end));
    EXPECT_EQ(cut.outcome, c.outcome) << ::testing::PrintToString(c.text);
    EXPECT_EQ(c.text.substr(cut.piece.begin, cut.piece.size()), c.piece);
    if (cut.outcome == kExtracted) {
      EXPECT_EQ(cut.start.end, cut.piece.begin);
      EXPECT_EQ(cut.piece.end, cut.end.begin);
    }
  }
}

// Matching with tolerances or patterns finds the markers where the exact
// search does not, and the piece is still the text between the matches as
// it stands. A pattern's start is its first match, its end the first match
// behind it, and a pattern that matches an empty text acts as an empty
// marker.
TEST(MatchingOptionsTest, FindThePiecesAndKeepThemUnchanged) {
  const MatchOptions breaks{.line_breaks_any = true};
  const MatchOptions letters{.ignore_case = true};
  const MatchOptions both{.line_breaks_any = true, .ignore_case = true};
  const MatchOptions patterns{.regex = true};
  const MatchOptions any_case{.ignore_case = true, .regex = true};
  constexpr auto kExtracted = FileOutcome::kExtracted;
  constexpr auto kNoStart = FileOutcome::kNoStart;
  struct Case {
    std::u16string text, start, end;
    MatchOptions options;
    FileOutcome outcome;
    std::u16string piece;
  };
  const Case cases[] = {
      {u"<p>\nA\r\nb</p>", u"<p>\r\n", u"</p>", breaks, kExtracted, u"A\r\nb"},
      {u"<p>\rA</p>", u"<p>\n", u"</p>", breaks, kExtracted, u"A"},
      {u"<p>\r\n\r\nA</p>", u"<p>\n\n", u"</p>", breaks, kExtracted, u"A"},
      // CR LF is one break, never two.
      {u"<p>\r\nA</p>", u"<p>\n\n", u"</p>", breaks, kNoStart, u""},
      {u"<p>\nA</p>", u"<p>\r\n", u"</p>", letters, kNoStart, u""},
      {u"<DIV>Ab</div>", u"<div>", u"</DIV>", letters, kExtracted, u"Ab"},
      {u"<P>\nX</P>", u"<p>\r\n", u"</p>", both, kExtracted, u"X"},
      // Letters fold one by one: final sigma and capital sigma alike, but
      // no letter becomes two.
      {u"\u03A3x\u03C2", u"\u03C3", u"\u03A3", letters, kExtracted, u"x"},
      {u"STRASSE", u"stra\u00DFe", u"", letters, kNoStart, u""},
      {u"x\u212AEY:v]", u"key:", u"]", letters, kExtracted,
       u"v"},  // KELVIN SIGN folds to k
      {u"a\U0001F600b", u"A\U0001F600", u"B", letters, kExtracted, u""},
      {u"ab", u"", u"B", letters, kExtracted, u"a"},
      // Past places that start like the marker, eight units at a time.
      {u"<b>ab <P>x <p>Z1:x</P>", u"<p>z1:", u"</p>", letters, kExtracted,
       u"x"},
      {u"hhhhhhhhhhHello\nthERE:y.", u"hello\r\nthere:", u".", both, kExtracted,
       u"y"},
      {u"<div class=\"entry\" id=\"post-123\">Body</div>",
       u"<div class=\"entry\" id=\"post-\\d+\">", u"</div>", patterns,
       kExtracted, u"Body"},
      {u"a1b22c", u"\\d+", u"\\d+", patterns, kExtracted, u"b"},
      {u"abc", u"x*", u"c", patterns, kExtracted, u"ab"},
      {u"abc", u"c", u"x*", patterns, FileOutcome::kNoEnd, u""},
      {u"<P>\r\nx</P>", u"<p>\\R", u"</p>", any_case, kExtracted, u"x"},
      {u"<P>x</P>", u"<p>", u"</p>", patterns, kNoStart, u""},
  };
  for (const Case& c : cases) {
    const Cut cut = CutPiece(c.text, *MakeMatcher(c.start, c.options),
                             *MakeMatcher(c.end, c.options));
    EXPECT_EQ(cut.outcome, c.outcome) << ::testing::PrintToString(c.text);
    EXPECT_EQ(c.text.substr(cut.piece.begin, cut.piece.size()), c.piece)
        << ::testing::PrintToString(c.text);
  }
}

TEST(PatternTest, ErrorsSayWhatAndWhere) {
  EXPECT_EQ(PatternError(u"<div (class", false), "unclosed parenthesis at 12");
  EXPECT_EQ(PatternError(u"a)", false), "unmatched closing parenthesis at 3");
  EXPECT_EQ(PatternError(u"x\n[ab", false),
            "unclosed [ at line 2, character 4");
  EXPECT_EQ(PatternError(u"a{3,1}", false),
            "{min,max} with max below min at 7");
  EXPECT_EQ(PatternError(u"<p>\\R", true), std::nullopt);
}

// Catastrophic backtracking is stopped, not waited out.
TEST(PatternTest, ARunawayPatternIsStopped) {
  const std::u16string text(100000, u'a');
  EXPECT_THROW(RegexMatcher(u"(a+)+b", false, "start").Find(text),
               PatternTimeout);
}

TEST(LineAtTest, EachKindOfBreakEndsALine) {
  const std::u16string text = u"a\r\nb\nc\rd\r\n";
  const int lines[] = {1, 1, 1, 2, 2, 3, 3, 4, 4, 4, 5};
  for (std::size_t at = 0; at <= text.size(); ++at) {
    EXPECT_EQ(LineAt(text, at), lines[at]) << at;
  }
}

}  // namespace
}  // namespace vantrel
