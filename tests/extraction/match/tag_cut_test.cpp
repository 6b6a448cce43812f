#include "extraction/match/tag_cut.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel {
namespace {

struct Cut {
  const char* before;  // the source up to the cut
  const char* piece;   // the source from the cut on
  TagCut cut;
  const char* text;  // the piece without the rest of the cut tag
};

std::u16string Units(std::string_view ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

TEST(TagCut, TheSourceTellsWhetherACutWentThroughATag) {
  const Cut cuts[] = {
      // The marker closed its tag: the piece's text is whole.
      {"<td>", "x>0 holds</td>", TagCut::kNone, "x>0 holds</td>"},
      {"<td>", "->arrow</td>", TagCut::kNone, "->arrow</td>"},
      {"<p>", "Tom said \"hi\"> there</p>", TagCut::kNone,
       "Tom said \"hi\"> there</p>"},
      {"<div data-x=\"1>2\">", "text", TagCut::kNone, "text"},
      {"a < b and c <", " d > e", TagCut::kNone, " d > e"},
      {"", "x>y", TagCut::kNone, "x>y"},
      {"<!-- a --><p>", "x>y", TagCut::kNone, "x>y"},
      // The marker ended inside a tag: its rest goes, up to its real end.
      {"<div id=\"main\"", " data-x=\"1>2\">text", TagCut::kInTag, "text"},
      {"<a title=\"x", ">y\" href=z>text", TagCut::kInDoubleQuote, "text"},
      {"<a title='x", ">y'>text", TagCut::kInSingleQuote, "text"},
      {"<a href=", " \"a>b\">text", TagCut::kAfterEquals, "text"},
      {"<a href=x", ">text", TagCut::kInTag, "text"},
      {"<d", "iv>text", TagCut::kInTag, "text"},
      {"<", "div class=x>text", TagCut::kInTag, "text"},
      {"<p>1</", "p>2", TagCut::kInTag, "2"},
      {"<!-- a > ", "b --> text", TagCut::kInComment, " text"},
      {"<div id=", "\"x", TagCut::kAfterEquals, ""},
  };
  for (const Cut& c : cuts) {
    const std::string source = std::string(c.before) + c.piece;
    const std::size_t at = std::string_view(c.before).size();
    const std::string_view piece = c.piece;
    EXPECT_EQ(TagCutAt(source, at), c.cut) << c.before << "|" << c.piece;
    EXPECT_EQ(TagCutAt(Units(source), at), c.cut) << c.before;
    EXPECT_EQ(piece.substr(CutTagLength(piece, c.cut)), c.text) << c.before;
    EXPECT_EQ(CutTagLength(Units(piece), c.cut), CutTagLength(piece, c.cut))
        << c.before;
  }
}

}  // namespace
}  // namespace vantrel
