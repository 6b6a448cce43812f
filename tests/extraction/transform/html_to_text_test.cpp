#include "extraction/transform/html_to_text.h"

#include <gtest/gtest.h>

#include <string>

#include "extraction/transform/html_parser.h"

namespace vantrel {
namespace {

struct Rule {
  const char* what;
  const char* html;
  const char* text;
};

TEST(HtmlToText, FollowsTheRules) {
  const Rule rules[] = {
      {"empty piece", "", ""},
      {"hidden elements and comments",
       "a<script>x()</script><style>p{}</style><template>t</template>"
       "<!-- c -->b<head><title>h</title></head>",
       "ab"},
      {"entities, with and without semicolon", "&lt;&amp;&eacute&nbsp;&#x41;",
       "<&\xC3\xA9\xC2\xA0"
       "A"},
      {"blocks end a line", "<div>a</div><div>b</div>c<section>d</section>",
       "a\nb\nc\nd"},
      {"paragraphs are set off by a blank line", "<p>a</p><h2>b</h2>c",
       "a\n\nb\n\nc"},
      {"white space collapses and lines are trimmed",
       "<p>  a \n\t b  </p>\n\n<div> c </div>", "a b\n\nc"},
      {"inline elements add no space", "w<b>or</b><i>d</i> <a href=x>next</a>",
       "word next"},
      {"br and hr", "a<br>b<br><br>c<hr>d", "a\nb\n\nc\nd"},
      {"list items", "<ul><li>a</li><li>b</ul>after", "- a\n- b\n\nafter"},
      {"nested lists indent by level",
       "<ul><li>a<ol><li>b</li><li>c<ul><li>d</ul></li></ol></li><li>e</ul>",
       "- a\n  - b\n  - c\n    - d\n- e"},
      {"table cells by tab, rows by line",
       "<table><tr><th>h1<th>h2<tr><td>1</td><td></td><td>3</td></table>",
       "h1\th2\n1\t\t3"},
      {"blank lines at the ends of pre go", "<pre>\n\n a\n \n</pre>", " a"},
      {"only blank lines", "<pre>\n \n\t\n</pre>", ""},
      {"pre keeps white space", "<p>x</p><pre>  a  b\n\n c</pre>y",
       "x\n\n  a  b\n\n c\n\ny"},
      {"img gives its alt",
       "see <img src=a.png alt=\"a cat\"> here<img src=b><img alt=x><img "
       "alt=y>",
       "see a cat here x y"},
      {"text right after an image stands apart", "<img alt=logo>Text",
       "logo Text"},
      {"right-to-left text unchanged",
       "<p dir=rtl>\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7 "
       "\xE2\x80\x8F\xD8\xA8\xD9\x83\xD9\x85</p>",
       "\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7 "
       "\xE2\x80\x8F\xD8\xA8\xD9\x83\xD9\x85"},
      {"a greater-than sign in text stays", "1 > 0", "1 > 0"},
      {"a piece outside a tag keeps what looks like a tag's end", "x>0 holds",
       "x>0 holds"},
      {"a tag cut at the end", "<p>text</p><di", "text"},
      {"unclosed elements", "<div><p>a<b>b<i>c</div>d", "abc\n\nd"},
  };
  for (const Rule& rule : rules) {
    EXPECT_EQ(HtmlToText(rule.html), rule.text) << rule.what;
  }
}

// A piece that begins inside a tag loses the rest of that tag only.
TEST(HtmlToText, DropsTheRestOfTheTagThePieceBeginsIn) {
  EXPECT_EQ(HtmlToText("\">first<p>second", TagCut::kInDoubleQuote),
            "first\n\nsecond");
  EXPECT_EQ(HtmlToText(" data-x=\"1>2\">text", TagCut::kInTag), "text");
  EXPECT_EQ(HtmlToText(" c --> a>b", TagCut::kInComment), "a>b");
}

// The piece as text or as UTF-8 bytes gives its text as UTF-8 bytes.
TEST(HtmlToText, TransformGivesTheTextAsAPiece) {
  const HtmlToTextTransform transform;
  EXPECT_TRUE(transform.NeedsText());
  EXPECT_TRUE(transform.TakesUtf8());
  const std::string html = "<p>\xD9\x85\xD8\xB1</p><p>b&amp;c</p>";
  const std::u16string text = u"<p>\u0645\u0631</p><p>b&amp;c</p>";
  for (const Piece& given : {Piece(text), Piece::Utf8(html)}) {
    PieceScratch scratch;
    const Piece piece = transform.Apply(given, scratch);
    EXPECT_EQ(piece.utf8, "\xD9\x85\xD8\xB1\n\nb&c");
    EXPECT_FALSE(piece.windows1256);
  }
}

// Elements nested deeper than a walk on the call stack could go.
TEST(HtmlToText, DeeplyNestedElements) {
  std::string html;
  for (int i = 0; i < 300000; ++i) html += "<span>";
  EXPECT_EQ(HtmlToText(html + "x"), "x");
}

// Elements nested deeper than the bound lose their tags, not their text:
// the words inside them join the line of the deepest element kept, and the
// end tags that close them end nothing more.
TEST(HtmlToText, NestingBeyondTheBoundKeepsItsText) {
  std::string html, text;
  for (std::size_t i = 1; i <= kMaxHtmlDepth + 2; ++i) {
    const std::string word = "w" + std::to_string(i);
    html += "<div>" + word + " ";
    text += word + (i < kMaxHtmlDepth ? "\n" : " ");
  }
  text.back() = '\n';
  for (std::size_t i = 0; i < kMaxHtmlDepth + 2; ++i) html += "</div>";
  EXPECT_EQ(HtmlToText(html + "<b>x<br>y</b><ul><li>z</ul>"),
            text + "x\ny\n\n- z");
}

// Elements that end by themselves (p, an inline element left open inside a
// block) do not count towards the bound, however many follow each other.
TEST(HtmlToText, SiblingsLeftOpenAreNoNesting) {
  std::string html, text;
  for (std::size_t i = 0; i < 2 * kMaxHtmlDepth; ++i) {
    html += "<div><b>w</div><p>v";
    text += i == 0 ? "w\n\nv" : "\n\nw\n\nv";
  }
  EXPECT_EQ(HtmlToText(html), text);
}

}  // namespace
}  // namespace vantrel
