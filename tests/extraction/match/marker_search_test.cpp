// The marker search tests sixteen bytes of places at a time and compares in
// full only where the first and last units match. These cases hold it, in
// units and in bytes, to the plain definition: the first place where every
// unit of the marker matches.
#include "extraction/match/marker_search.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "extraction/match/cut.h"
#include "extraction/match/matchers.h"
#include "extraction/match/regex_matcher.h"
#include "extraction/text/text.h"

namespace vantrel {
namespace {

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
    const CutResult cut =
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
      // The end pattern sees the text before it as it is: the start match's
      // end is no word boundary, no line start and no start of the text.
      {u"foobar bar.", u"foo", u"\\bbar", patterns, kExtracted, u"bar "},
      {u"foobar bar.", u"foo", u"^bar", patterns, FileOutcome::kNoEnd, u""},
      {u"foobar bar.", u"foo", u"\\Abar", patterns, FileOutcome::kNoEnd, u""},
      {u"foo\nbar", u"foo", u"(?m)^bar", patterns, kExtracted, u"\n"},
      {u"xfoobar.", u"foo", u"(?<=foo)bar", patterns, kExtracted, u""},
  };
  for (const Case& c : cases) {
    const CutResult cut = CutPiece(c.text, *MakeMatcher(c.start, c.options),
                                   *MakeMatcher(c.end, c.options));
    EXPECT_EQ(cut.outcome, c.outcome) << ::testing::PrintToString(c.text);
    EXPECT_EQ(c.text.substr(cut.piece.begin, cut.piece.size()), c.piece)
        << ::testing::PrintToString(c.text);
  }
}

// A pattern's error points at the character at fault, counting characters
// (not units) from 1 on its line.
TEST(PatternTest, ErrorsSayWhatAndWhere) {
  const struct {
    std::u16string pattern;
    std::optional<std::string> error;
  } cases[] = {
      {u"<div (class", "unclosed parenthesis at 6"},
      {u"(a(b)", "unclosed parenthesis at 1"},
      {u"(?#a(b", "unclosed parenthesis at 1"},
      {u"abc)def", "unmatched closing parenthesis at 4"},
      {u"\\Q)\\E[)]\U0001F600)", "unmatched closing parenthesis at 10"},
      {u"x\r\n[a[b]", "unclosed [ at line 2, character 1"},
      {u"a{3,1}", "{min,max} with max below min at 6"},
      {u"a{3,1}bc", "{min,max} with max below min at 6"},
      {u"x\na{3,1}\nb", "{min,max} with max below min at line 2, character 6"},
      {u"a\\2b", "back reference to a group that does not exist at 3"},
      {u"a{x}", "bad {min,max} repetition at 3"},
      {u"ab(?z)", "syntax error at 5"},
      {u"<p>\\R", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PatternError(c.pattern, false), c.error)
        << ::testing::PrintToString(c.pattern);
  }
}

// A search may take time and memory in proportion to the text: a pattern
// that does a bounded amount of work at each place is never stopped, not
// even on a long text; catastrophic backtracking is, and so is a pattern
// that needs more memory than the text allows.
TEST(PatternTest, RunawaysAreStoppedAndLinearPatternsAreNot) {
  // About 24 saved states at each place: 6 MB of text take more than a
  // fixed budget allows.
  std::u16string words;
  for (const char16_t* word :
       {u"lorem",   u"ipsum",   u"dolor", u"sit",     u"amet",  u"alpha",
        u"beta",    u"gamma",   u"delta", u"epsilon", u"zeta",  u"eta",
        u"theta",   u"iota",    u"kappa", u"lambda",  u"mu",    u"nu",
        u"xi",      u"omicron", u"pi",    u"rho",     u"sigma", u"tau",
        u"upsilon", u"phi",     u"chi",   u"psi",     u"omega"}) {
    words += (words.empty() ? u"(?:" : u"|") + std::u16string(word);
  }
  std::u16string prose;
  while (prose.size() < 3000000) prose += u"lorem ipsum dolor sit amet ";
  const std::u16string lazy_text = u"<b>" + std::u16string(2000000, u'a');
  const struct {
    std::u16string pattern, text;
    const char* stopped;  // why the search is stopped, or null
  } cases[] = {
      {words + u")Z", prose, nullptr},
      // One saved state at each place up to the end: ICU's fixed stack
      // holds a million.
      {u"<b>(?:.|\n)*?c", lazy_text + u"c", nullptr},
      {u"(a+)+b", std::u16string(100000, u'a'),
       "the start pattern took too long"},
      // With three groups a saved state outgrows what each unit allows.
      {u"(<b>)((.|\n)*?)c", lazy_text.substr(0, 300000),
       "the start pattern needs too much memory"},
  };
  for (const auto& c : cases) {
    const RegexMatcher matcher(c.pattern, false, "start");
    try {
      matcher.Find(c.text);
      EXPECT_EQ(c.stopped, nullptr) << ::testing::PrintToString(c.pattern);
    } catch (const PatternTimeout& stopped) {
      EXPECT_STREQ(stopped.what(), c.stopped)
          << ::testing::PrintToString(c.pattern);
    }
  }
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
