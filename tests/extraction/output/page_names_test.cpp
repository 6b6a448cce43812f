// The separate files' names of web archive pages: safe, inside the output
// folder, and unique.
#include "extraction/output/page_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantrel {
namespace {

TEST(PageNamesTest, NamesFromUris) {
  const struct {
    const char* uri;
    const char* name;
  } cases[] = {
      {"http://Example.COM/", "example.com/index.htm"},
      {"http://example.com", "example.com/index.htm"},
      {"https://u:p@example.com:8080/a/b.html#top",
       "example.com_8080/a/b.html"},
      {"http://example.com/docs/intro", "example.com/docs/intro.htm"},
      {"http://example.com/a.htm/b", "example.com/a.htm_/b.htm"},
      {"http://example.com/../../etc/passwd",
       "example.com/_../_../etc/passwd.htm"},
      {"http://example.com/.hidden/x", "example.com/_.hidden/x.htm"},
      {"http://example.com//a\\b<c>.htm", "example.com/a_b_c_.htm"},
      {"http://example.com/list.php?p=2",
       "example.com/list.php~78b1a219573b4bec.htm"},
      {"urn:x:y", "_/x_y.htm"},
      {"file:///srv/page.html", "_/srv/page.html"},
  };
  for (const auto& c : cases) {
    PageNames names;
    EXPECT_EQ(names.For(c.uri), c.name) << c.uri;
  }
}

TEST(PageNamesTest, QueriesAndCollisionsStayApart) {
  PageNames names;
  const std::vector<std::string> got = {
      names.For("http://h/list?p=1"),
      names.For("http://h/list?p=2"),
      names.For("http://h/page"),
      names.For("https://h/Page"),
      names.For("http://h/page"),
      names.For("http://h/" + std::string(300, 'x')),
  };
  EXPECT_NE(got[0], got[1]);
  EXPECT_EQ(got[2], "h/page.htm");
  EXPECT_EQ(got[3], "h/Page (2).htm");
  EXPECT_EQ(got[4], "h/page (3).htm");
  EXPECT_LT(got[5].size(), 140u);

  PageNames texts("txt");
  EXPECT_EQ(texts.For("http://h/a.htm"), "h/a.txt");
  EXPECT_EQ(texts.For("http://h/a.html"), "h/a (2).txt");
}

}  // namespace
}  // namespace vantrel
