// Marker suggestion on small made folders: what the first pair cuts out of
// every page, patterns where the template varies, the majority template,
// line breaks and charsets kept, text pasted around, and the reasons for
// no suggestion.
#include "extraction/suggest/suggestion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "extraction/match/cut.h"
#include "extraction/match/matchers.h"
#include "extraction/suggest/suggestion_messages.h"
#include "extraction/text/charsets.h"
#include "extraction/text/text.h"
#include "tests/support/pages.h"
#include "tests/support/temp_folder.h"

namespace vantrel {
namespace {

using testing::TempFolder;

constexpr const char* kBodies[] = {
    "Rivers carry <b>silt</b> to the delta.",
    "Granite forms deep below; <div class=\"box\">it cools</div> slowly.",
    "Glaciers carve valleys &amp; leave moraines behind.",
    "Tides follow the moon, twice a day.",
    "Volcanoes vent ash, gas and molten rock.",
    "Deserts lose their heat quickly at night.",
};

// A page of one site: a frame around `body`; `id` varies per page where
// the site numbers its pages; `eol` ends its lines.
std::string SitePage(std::string_view body, int id = 0,
                     std::string_view eol = "\n") {
  const std::string e(eol);
  const std::string number = std::to_string(7 + 31 * id);
  return "<html><head><title>Site</title></head><body>" + e +
         "<div class=\"nav\"><a href=\"/\">Home</a> <a href=\"/about\">About" +
         "</a></div>" + e +
         (id == 0 ? "<div class=\"content\">"
                  : "<div class=\"content\" id=\"post-" + number + "\">") +
         std::string(body) + "</div>" + e +
         "<div class=\"footer\">Made by the site</div>" + e + "</body></html>" +
         e;
}

SuggestionRequest Request(const TempFolder& folder,
                          std::u16string around = u"") {
  SuggestionRequest request;
  request.files.folder = folder.text();
  request.files.extensions = {u"htm"};
  request.around = std::move(around);
  return request;
}

constexpr const char* kBookEnd = "</td></tr></table><hr /></div>";

// A page whose navigation header ends in tags that its content has too,
// so that no anchor stands between the header's text and the content but
// its links, text of every page that the footer repeats.
std::string BookPage(std::string_view body, int n) {
  const std::string part = n % 2 == 0 ? "Part One" : "Part Two";
  return "<html><body><div class=\"navheader\"><table><tr><th>Chapter " +
         std::to_string(n) + "</th></tr><tr><td><a href=\"c" +
         std::to_string(n) + ".htm\">Prev</a></td><th>" + part +
         "</th><td><a href=\"index.htm\">Home</a></td><td> <a href=\"c" +
         std::to_string(n + 1) +
         ".htm\">Next</a></td></tr></table><hr /></div><div id=\"" +
         std::string(body.substr(0, 4)) + "\">" + std::string(body) +
         "<table><tr><td>" + std::string(body) + kBookEnd +
         "<div class=\"navfooter\"><hr /><a href=\"index.htm\">Home</a> "
         "<a href=\"c" +
         std::to_string(n + 1) + ".htm\">Next</a></div></body></html>";
}

// The first two visible characters of a page's own text.
std::u16string PreviewStart(const std::string& body) {
  std::u16string shown;
  bool in_tag = false;
  for (const char c : body) {
    if (c == '<') in_tag = true;
    if (!in_tag && shown.size() < 2) shown += static_cast<char16_t>(c);
    if (c == '>') in_tag = false;
  }
  return shown;
}

std::string Stub(int n) {
  return "<html><head><meta http-equiv=\"refresh\" content=\"0; url=p" +
         std::to_string(n) + ".htm\"></head><body><p>Moved.</p></body></html>";
}

struct File {
  std::string name;
  std::string bytes;
  std::string body;  // what the first pair must cut out; empty: nothing
};

struct Case {
  const char* what;
  std::vector<File> files;
  Charset charset;  // how the test decodes the files
  bool regex = false;
  std::int64_t other_template = 0;
  std::string in_marker;  // text the first pair's markers hold between them
};

std::vector<File> Book(int pages) {
  std::vector<File> files;
  for (int i = 0; i < pages; ++i) {
    const std::string body = kBodies[i % 6];
    const std::string page = BookPage(body, i);
    // The content's own start tag varies, so the piece starts with it.
    const std::size_t at = page.find("<div id=");
    const std::string piece = page.substr(at, page.find(kBookEnd, at) - at);
    files.push_back({"c" + std::to_string(i) + ".htm", page, piece});
  }
  return files;
}

// Reference pages made of many tags of their own, and chapter pages of
// links, in one frame: alike in their frame only.
std::vector<File> Manual() {
  std::string nav;
  for (char c = 'a'; c < 'k'; ++c) {
    nav += "<a href=\"/" + std::string(1, c) + "\">" +
           std::string(3, static_cast<char>(c - 32)) + "</a>";
  }
  std::vector<File> files;
  for (int i = 0; i < 8; ++i) {
    const std::string words = std::string(kBodies[i % 6]).substr(0, 5);
    std::string content;
    if (i % 3 == 2) {
      content = "<ul><li><a href=\"r.htm\">Topic " + words + "</a></li></ul>";
    } else {
      content = "<h1 class=\"ref\">" + words + "</h1>";
      for (int k = 0; k < 60; ++k) {
        content += "<span class=\"" + std::string(1, char('A' + k % 30)) +
                   "\">" + std::string(1, char('a' + k % 26)) +
                   std::string(1, char('a' + i)) + " </span>";
      }
    }
    files.push_back({"m" + std::to_string(i) + ".htm",
                     "<html><body><div class=\"nav\">" + nav +
                         "</div><div class=\"main\">" + content +
                         "</div><div class=\"footer\">Site</div></body>"
                         "</html>",
                     content});
  }
  return files;
}

// A manual's reference pages, whose content starts with tags that vary
// (an anchor per page), and its chapter pages, a title and a list of
// topics, in one frame under the manual's name: the frame's markers cut
// both.
std::vector<File> Reference() {
  const char* const kTitles[] = {
      "Arrays of elements that grow as needed, in one block",
      "Hash tables of keys and values, found by their hashes",
      "Quarks that stand for strings, compared as small numbers",
      "Getting started with the kit",
      "Byte order of numbers in memory, from host to network",
      "Timers that measure elapsed time, with microseconds kept",
      "Tools for the build"};
  std::vector<File> files;
  for (int i = 0; i < 7; ++i) {
    const std::string n = std::to_string(i);
    const std::string title = kTitles[i];
    const std::string content =
        i % 3 == 0 && i > 0
            ? "<div class=\"chapter\"><h1>Part " + title +
                  "</h1><dl><dt><a href=\"r.htm\">" + title + "</a> " +
                  kBodies[(i + 2) % 6] + "</dt></dl></div>"
            : "<div class=\"refentry\"><a name=\"ref-" + n +
                  "\"></a><div class=\"head\"><h2><span class=\"title\">" +
                  title + "</span></h2><p>" + kBodies[i % 6] +
                  "</p></div><div class=\"details\"><p>" +
                  kBodies[(i + 1) % 6] + " " + n + "</p></div></div>";
    const std::string page =
        "<html><body><table class=\"nav\"><tr><td>Kit manual</td><td>Version "
        "two</td></tr></table>" +
        content + "<div class=\"footer\">Made with tools</div></body></html>";
    // Every page ends its content with the same end tag, which the end
    // marker takes in.
    files.push_back(
        {"r" + n + ".htm", page, content.substr(0, content.size() - 6)});
  }
  return files;
}

// A blog of few words: every page uses them all, in sentences of its own;
// each article has comments of its own after its text, and two pages are
// archive lists in the same frame, with no text of their own.
std::vector<File> Blog() {
  const char* kWords[] = {"sun", "rain", "wind", "snow", "fog"};
  const auto sentence = [&](int seed, int length) {
    std::string text;
    for (int w = 0; w < length; ++w) {
      text += std::string(kWords[(seed * 7 + w * (seed % 4 + 1)) % 5]) + " ";
    }
    return text;
  };
  std::vector<File> files;
  for (int i = 0; i < 8; ++i) {
    std::string main, content;
    if (i == 3 || i == 6) {
      main = "<ul><li><a href=\"/p1\">sun fog</a></li></ul>";
    } else {
      content =
          "<p>" + sentence(i, 9) + "</p><p>" + sentence(i + 11, 7) + "</p>";
      main = "<article><h1>" + sentence(i + 5, 2) +
             "</h1><div class=\"entry\">" + content +
             "</div><section id=\"comments\"><p>" + sentence(i + 3, 12) +
             sentence(i + 9, 12) + "</p></section></article>";
    }
    files.push_back({"b" + std::to_string(i) + ".htm",
                     "<html><head><title>" + sentence(i, 3) +
                         "</title></head><body><header><a href=\"/\">Blog</a>"
                         "<nav><a href=\"/a\">Alpha</a><a href=\"/b\">Beta</a>"
                         "</nav></header><main>" +
                         main +
                         "</main><footer>Blog team</footer></body>"
                         "</html>",
                     // The article's title is its own too; tags that every
                     // article has there go in the markers.
                     content.empty()
                         ? ""
                         : sentence(i + 5, 2) + "</h1><div class=\"entry\">" +
                               content.substr(0, content.size() - 4)});
  }
  return files;
}

// Articles, each with a title and a byline, whose main element also holds
// a strip of links, beside archive pages whose main element holds a
// heading of their own above links: a few words of their own, which weigh
// little beside an article's text.
std::vector<File> Magazine() {
  const char* kTitles[] = {"Silt and sand",   "Stone that cools",
                           "Ice on the move", "The pull of tides",
                           "Ash over hills",  "Cold desert nights"};
  std::vector<File> files;
  for (int i = 0; i < 8; ++i) {
    const std::string n = std::to_string(i);
    std::string main, text;
    if (i == 2 || i == 5) {
      main = "<h1 class=\"archive\">Archive 199" + n +
             "</h1><ul><li><a href=\"/p1\">Rivers</a></li></ul>";
    } else {
      text = std::string(kBodies[i % 6]) + "</p><p>" + kBodies[(i + 2) % 6];
      main = "<h1 class=\"title\">" + std::string(kTitles[i % 6]) +
             "</h1>\n<p class=\"byline\">By Ana, " + n +
             " May</p>\n<div class=\"entry\"><p>" + text +
             "</p></div>\n<div class=\"related\"><h3>More from the "
             "magazine</h3><a href=\"/p" +
             n + "\">Next</a></div>";
    }
    files.push_back({"m" + n + ".htm",
                     "<html><body><header><a href=\"/\">Magazine</a>"
                     "</header>\n<main>\n" +
                         main +
                         "\n</main>\n<footer>Magazine Ltd</footer>"
                         "</body></html>",
                     text});
  }
  return files;
}

// Wiki pages whose title stands in the site's header, apart from the
// element with the role of main that holds the page's text.
std::vector<File> Wiki() {
  const char* kWords[] = {"sun",    "rain",    "wind",  "snow",  "fog",
                          "hail",   "mist",    "frost", "dew",   "cloud",
                          "storm",  "gale",    "sleet", "thaw",  "ice",
                          "breeze", "drizzle", "haze",  "flood", "drought"};
  const char* kTitles[] = {"silt", "stone", "ice", "tides", "ash", "nights"};
  std::vector<File> files;
  for (int i = 0; i < 6; ++i) {
    std::string text = i == 3 ? "<p>Tides follow the moon.</p>" : "";
    for (int k = 0; k < 10; ++k) {
      text += "<p>";
      for (int w = 0; w < 12; ++w) {
        text += std::string(w > 0 ? " " : "") +
                kWords[(i * 31 + k * 17 + w * w * 7 + w * i) % 20];
      }
      text += "</p>\n";
    }
    files.push_back(
        {"w" + std::to_string(i) + ".htm",
         "<html><body>\n<div class=\"page\">\n<div class=\"pageheader\">\n"
         "<div class=\"header\">\n<span>\n<span class=\"parentlinks\">\n"
         "<a href=\"../index.html\">wiki</a>/\n</span>\n<span "
         "class=\"title\">\n" +
             std::string(kTitles[i]) +
             "\n</span>\n</span>\n</div>\n</div>\n<div id=\"pagebody\">\n"
             "<div id=\"content\" role=\"main\">\n" +
             text + "</div>\n</div>\n<div id=\"footer\">Last edited " +
             std::to_string(i + 3) + " May</div>\n</div>\n</body></html>\n",
         "\n" + text});
  }
  return files;
}

// Long notes between a link and a line of the site, and an index page
// without them: a pair of the whole body holds the index too, and nearly as
// much of the notes' own text as theirs.
std::vector<File> Notes() {
  const char* kWords[] = {"sun",    "rain",    "wind",  "snow",  "fog",
                          "hail",   "mist",    "frost", "dew",   "cloud",
                          "storm",  "gale",    "sleet", "thaw",  "ice",
                          "breeze", "drizzle", "haze",  "flood", "drought"};
  std::vector<File> files;
  for (int i = 0; i < 8; ++i) {
    std::string text = i == 3 ? "<p>Tides follow the moon.</p>" : "";
    for (int k = 0; k < 10; ++k) {
      text += "<p>";
      for (int w = 0; w < 12; ++w) {
        text += std::string(w > 0 ? " " : "") +
                kWords[(i * 31 + k * 17 + w * w * 7 + w * i) % 20];
      }
      text += "</p>\n";
    }
    const std::string page =
        i == 5 ? "<html><body>\n<h1>Index of notes</h1>\n"
               : "<html><body>\n<div class=\"nav\"><a href=\"/\">Home</a>"
                 "</div>\n<div class=\"notes\">\n" +
                     text + "</div>\n";
    files.push_back(
        {"v" + std::to_string(i) + ".htm",
         page + "<div class=\"footer\">Site</div>\n</body></html>\n",
         i == 5 ? "" : text.substr(3, text.size() - 8)});
  }
  return files;
}

// Product pages: the name and the price each in an element of its own
// before the description, a buy box and a strip of other products after.
std::vector<File> Shop() {
  std::vector<File> files;
  for (int i = 0; i < 6; ++i) {
    const std::string body = kBodies[i];
    const std::string name = body.substr(0, body.find(' ', 8));
    const std::string content =
        name + "</h1>\n<p class=\"price\">" + std::to_string(12 + 7 * i) +
        ".50 EUR</p>\n<div class=\"description\"><p>" + body +
        "</p></div>\n<h2>Details</h2><table><tr><td>" + std::to_string(3 + i) +
        ".2 kg</td></tr></table><h2>Reviews</h2><p>" + kBodies[(i + 3) % 6] +
        "</p>";
    files.push_back(
        {"s" + std::to_string(i) + ".htm",
         "<html><body><header><a href=\"/\">Shop</a> <a href=\"/cart\">"
         "Cart</a></header>\n<main><div class=\"product\" data-sku=\"" +
             std::to_string(100 + i) + "\"><h1 class=\"name\">" + content +
             "</div>\n<div class=\"buy\"><button>Add to cart</button><p>In "
             "stock</p></div>\n<div class=\"also\"><h2>Customers who "
             "bought this also bought</h2><a href=\"/p" +
             std::to_string((i + 1) % 6) + "\">" +
             std::string(kBodies[(i + 1) % 6]).substr(0, 8) +
             "</a></div></main>\n<footer>Shop Ltd</footer></body></html>\n",
         // Tags that every product has there go in the end marker.
         content.substr(0, content.size() - 4)});
  }
  return files;
}

// Plugin pages whose content element opens with the plugin's name and an
// info box of labels the same on most pages, then its text.
std::vector<File> Plugins() {
  std::vector<File> files;
  for (int i = 0; i < 6; ++i) {
    const std::string body = kBodies[i];
    const std::string content =
        "<p><span class=\"infobox\">Plugin: " + body.substr(0, body.find(' ')) +
        "<br />\nAuthor: " + std::string(i == 2 ? "Ann" : "Joe") +
        "<br />\nIncluded in the wiki: yes<br />\nEnabled by default: " +
        std::string(i % 3 ? "no" : "yes") + "<br />\n</span></p>\n<p>" + body +
        "</p>\n";
    files.push_back({"w" + std::to_string(i) + ".htm",
                     "<html><body><div class=\"header\"><a href=\"/\">wiki"
                     "</a>/ <a href=\"/plugins\">plugins</a>/ " +
                         body.substr(0, body.find(' ')) +
                         "</div>\n<div id=\"content\" role=\"main\">" +
                         content +
                         "</div>\n<div id=\"footer\">Last edited</div>"
                         "</body></html>\n",
                     content});
  }
  return files;
}

// A book generator's pages: a class on the root that names a sidebar's
// state, a long head and a sidebar the same on every page, the content in
// the page's one main element.
std::vector<File> Book2(int pages) {
  std::string head = "<head><title>Book</title>";
  for (int k = 0; k < 40; ++k) {
    head += "<link rel=\"icon\" href=\"i" + std::to_string(k) + ".png\">";
  }
  head += "</head>";
  std::vector<File> files;
  for (int i = 0; i < pages; ++i) {
    const std::string body = kBodies[i % 6];
    files.push_back(
        {"k" + std::to_string(i) + ".htm",
         "<html class=\"light sidebar-visible\">" + head +
             "<body><nav class=\"sidebar\"><a href=\"a.htm\">Start</a>"
             "<a href=\"b.htm\">Rocks</a></nav><div class=\"page\">"
             "<div class=\"menu-bar\"><button>Theme</button></div><main>" +
             body + "</main></div></body></html>",
         body});
  }
  return files;
}

// A manual with a language switcher above each article, whose link to the
// page itself varies (one carries one more attribute); the article, its
// title heading included, is the content, in an article element or not.
std::vector<File> Languages(bool article) {
  std::vector<File> files;
  for (int i = 0; i < 6; ++i) {
    const std::string body = kBodies[i];
    const std::string title = body.substr(0, body.find(' ', 4));
    const std::string n = std::to_string(i);
    files.push_back(
        {"l" + n + ".htm",
         "<html><head><title>" + title +
             "</title></head><body>\n<div class=\"top\">Rock manual</div>\n"
             "<div class=\"langs\"><a href=\"../de/l" +
             n + ".htm\">Deutsch</a> <a href=\"../fr/l" + n +
             ".htm\">Francais</a> <a href=\"l" + n +
             ".htm\" class=\"current\"" + (i == 4 ? " hreflang=\"en\"" : "") +
             ">English</a>\n" + (article ? "<article>" : "") + "<h1>" + title +
             "</h1>\n<p>" + body + "</p>" + (article ? "</article>" : "") +
             "\n</div>\n<div class=\"bottom\">Made by the rock team</div>\n"
             "</body></html>\n",
         // Without the article element, tags that every page has at the
         // edges go in the markers.
         article ? "<h1>" + title + "</h1>\n<p>" + body + "</p>"
                 : title + "</h1>\n<p>" + body});
  }
  return files;
}

// A manual's pages whose title heading carries the page's own id after a
// language switcher, whose links hold the page's number; two chapter pages
// of links share the frame and have no content.
std::vector<File> Switcher() {
  std::vector<File> files;
  for (int i = 0, k = 0; i < 8; ++i) {
    const std::string n = std::to_string(i);
    const std::string body = kBodies[k % 6];
    const std::string title = body.substr(0, body.find(' ', 4));
    const std::string langs =
        "<ul class=\"langs\"><li><a href=\"../de/m" + n +
        ".htm\" hreflang=\"de\">Deutsch</a></li><li><a href=\"m" + n +
        ".htm\" class=\"current\">English</a></li><li><a href=\"../ja/m" + n +
        ".htm\" hreflang=\"ja\">";
    // Tags that every page has at the end go in the end marker.
    const std::string content =
        "<h1 id=\"" + title.substr(0, 3) + "\">" + title + "</h1>\n<p>" + body;
    if (i == 2 || i == 5) {
      std::string list;
      for (int p = 0; p < 12; ++p) {
        list += "<li><a href=\"m" + std::to_string(p) + ".htm\">Page " +
                std::to_string(p) + "</a></li>";
      }
      files.push_back({"m" + n + ".htm",
                       "<html><head><title>Chapter</title></head><body>"
                       "<div class=\"wrap\">" +
                           langs + "Nihongo</a></li></ul>\n<ol>" + list +
                           "</ol></div></body></html>\n",
                       ""});
      continue;
    }
    files.push_back(
        {"m" + n + ".htm",
         "<html><head><title>Manual</title></head><body><div class=\"side\">"
         "<ul><li><a href=\"a.htm\">Start</a></li><li><a href=\"b.htm\">"
         "Rocks</a></li></ul></div>\n"
         "<div class=\"wrap\">" +
             langs + "Nihongo</a></li></ul>" + content +
             "</p>\n<div class=\"feedback\">Was this helpful?</div></div>\n"
             "<div class=\"footer\">Made by the rock team</div></body>"
             "</html>\n",
         content});
    ++k;
  }
  return files;
}

// A docs theme's pages: the content's main element inside wrappers whose
// classes name the menu beside them ("doc-nav-content"), and a menu that
// opens at the page with links to its own sections.
std::vector<File> DocsTheme() {
  std::vector<File> files;
  for (int i = 0; i < 6; ++i) {
    const std::string body = kBodies[i];
    const std::string title = body.substr(0, body.find(' ', 4));
    const std::string content = "<h1>" + title + "</h1>\n<p>" + body +
                                "</p>\n<h2 id=\"s" + std::to_string(i) +
                                "\">More on " + title + "</h2>\n<p>" +
                                kBodies[(i + 2) % 6] + "</p>";
    files.push_back(
        {"d" + std::to_string(i) + ".htm",
         "<html><body><nav class=\"doc-nav-side\"><ul><li><a href=\"a.htm\">"
         "Start</a></li><li class=\"current\"><a href=\"#\">" +
             title + "</a><ul><li><a href=\"#s" + std::to_string(i) +
             "\">More on " + title +
             "</a></li></ul></li></ul></nav>\n<section class=\"doc-nav-"
             "content-wrap\"><div class=\"doc-nav-content\"><div "
             "role=\"navigation\"><a href=\"index.htm\">Docs</a> &raquo; " +
             title + "</div>\n<div role=\"main\" class=\"document\">" +
             content +
             "</div>\n<footer>Built with the docs theme</footer></div>"
             "</section></body></html>\n",
         content});
  }
  return files;
}

// Reference pages that end inside their content, without closing their
// elements: no template text stands behind the content. One page has a
// blank line before its title. With `lists`, most of them close with a
// paragraph of links to the site's lists, which two pages of lists lack:
// the content ends before that paragraph, or at the end of the file. The
// site's menu is long beside the paragraph, so that the pages without it
// look like the others.
std::vector<File> Unclosed(bool lists) {
  std::string menu = "<div class=\"menu\">";
  for (const char* item : {"Home", "About", "Docs", "News", "Support",
                           "Download", "License", "Blog", "Forum", "Team"}) {
    menu += "<a href=\"" + std::string(item) + ".htm\">" + item + "</a> ";
  }
  menu += "</div>\n";
  const char* const kNames[] = {"Ada", "Bo",  "Cy",  "Di",
                                "Eve", "Flo", "Gus", "Hal"};
  std::vector<File> files;
  for (int i = 0; i < 8; ++i) {
    const std::string body = kBodies[i % 6];
    const std::string name = kNames[i];
    // One paragraph or two; the last one's end tag is the template's.
    const std::string own = "<h2>" + body.substr(0, body.find(' ')) +
                            "</h2>\n<p>" + body + " Noted by " + name + "." +
                            (i % 2 ? "</p>\n<p>More from " + name + "." : "");
    const bool closed = lists && i < 6;
    files.push_back(
        {"u" + std::to_string(i) + ".htm",
         "<html><head><title>Reference</title></head><body>\n" + menu +
             "<a href=\"intro.htm\"><h2>C Interface</h2></a>" +
             std::string(i == 3 ? "\n" : "") + own + "</p>\n" +
             (closed ? "<p>See also lists of <a href=\"o.htm\">Objects</a> "
                       "and <a href=\"f.htm\">Functions</a>.</p>\n"
                     : ""),
         (i == 3 ? "\n" : "") + own + (closed ? "" : "</p>\n")});
  }
  return files;
}

// API pages whose content section holds a section of its own, and is
// followed by a search section on some pages and a table of contents on
// others: only white space behind it is the same on every page.
std::vector<File> Api() {
  std::vector<File> files;
  for (int i = 0; i < 6; ++i) {
    const std::string body = kBodies[i];
    const std::string own = "<h1>" + body.substr(0, body.find(' ')) +
                            "</h1>\n<section><p>" + body + "</p>";
    files.push_back({"a" + std::to_string(i) + ".htm",
                     "<html><body><nav><a href=\"i.htm\">Index</a></nav>\n"
                     "<section id=\"main\">" +
                         own + "</section>\n</section>\n" +
                         (i % 3 == 0 ? "<div class=\"toc\">Contents</div>"
                                     : "<section id=\"search\"></section>") +
                         "\n</body></html>\n",
                     own});
  }
  return files;
}

std::vector<File> Site(int pages, bool ids = false, std::string_view eol = "\n",
                       bool utf16 = false) {
  std::vector<File> files;
  for (int i = 0; i < pages; ++i) {
    const std::string body = kBodies[i % 6];
    std::string bytes = SitePage(body, ids ? i + 1 : 0, eol);
    if (utf16) {
      bytes = std::string(testing::kUtf16LeSignature) + testing::Utf16Le(bytes);
    }
    files.push_back({"p" + std::to_string(i) + ".htm", bytes, body});
  }
  return files;
}

// A library's short module pages beside two long pages of another shape
// alike to each other: two long pages hold more words than the rest, but
// do not make the site's template.
std::vector<File> TwoLongPages() {
  std::vector<File> files = Site(6);
  for (int i = 0; i < 2; ++i) {
    std::string words;
    for (int k = 0; k < 80; ++k) {
      words += std::string(1, static_cast<char>('a' + k % 26)) +
               static_cast<char>('a' + (k / 26 + 3 * i) % 26) + "o ";
    }
    files.push_back({"x" + std::to_string(i) + ".htm",
                     "<html><body><table><tr><td class=\"index\">" + words +
                         "</td></tr></table></body></html>",
                     ""});
  }
  return files;
}

// More pages than are compared (64 of 70), a few of which, not among
// those compared, hold in their content an element whose end tags are
// what ends the content on the others; with `landmark`, the content's
// element is one whose id names it the content.
std::vector<File> NoteInside(bool landmark = false) {
  std::vector<File> files;
  for (int i = 0; i < 70; ++i) {
    // The text, without the pages' first and last tags, which every page
    // compared has there.
    std::string text = std::string(kBodies[i % 3 == 1 ? 3 : i % 6]) +
                       " Seen by " + static_cast<char>('a' + i % 26) +
                       static_cast<char>('a' + i / 26) + " and " +
                       static_cast<char>('k' + i % 13) + "o.";
    if (i == 11 || i == 34 || i == 58) {
      text += "</p><div class=\"note\"><p>Mind it</p></div><p>Ok";
    }
    files.push_back(
        {"f" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".htm",
         std::string("<html><body><div class=\"nav\"><a href=\"/\">Home</a>"
                     "</div>\n") +
             (landmark ? "<div id=\"content\">" : "<div class=\"text\">") +
             "<p>" + text + "</p></div>" +
             "\n<div class=\"foot\">Made by the site</div></body></html>\n",
         // The element's pair cuts out all it holds.
         landmark ? "<p>" + text + "</p>" : text});
  }
  return files;
}

// A book's pages, a navigation header with "Prev" and "Next" links above
// each (the first page has no "Prev", the last no "Next"), then sections
// whose tags vary from page to page (chapters, nested sections, a table):
// the content starts behind the header, its "Next" link left out.
std::vector<File> NavBook() {
  const char* const kTitles[] = {"Rivers",    "Granite", "Glaciers", "Tides",
                                 "Volcanoes", "Deserts", "Reefs"};
  const auto section = [](const std::string& kind, const std::string& h, int id,
                          const std::string& title,
                          const std::string& paragraphs) {
    return "<div class=\"" + kind + "\" title=\"" + title +
           "\"><div class=\"titlepage\"><div><div><" + h +
           " class=\"title\"><a name=\"s" + std::to_string(id) + "\"></a>" +
           title + "</" + h + "></div></div></div>" + paragraphs;
  };
  std::vector<File> files;
  for (int i = 0; i < 7; ++i) {
    const std::string prev =
        i > 0 ? "<a href=\"d" + std::to_string(i - 1) + ".htm\">Prev</a>" : "";
    const std::string next =
        i < 6 ? "<a href=\"d" + std::to_string(i + 1) + ".htm\">Next</a>" : "";
    std::string paragraphs;
    for (int k = 0; k <= i % 3; ++k) {
      paragraphs += "<p>" + std::string(kBodies[(i + k) % 6]) + "</p>";
    }
    std::string content =
        section(i % 3 ? "section" : "chapter", i % 3 ? "h2" : "h1", i,
                kTitles[i], paragraphs);
    if (i % 2) {
      content +=
          section("section", "h3", i + 10, std::string(kTitles[i]) + " notes",
                  "<p>" + std::string(kBodies[(i + 4) % 6]) + "</p>") +
          "</div>";
    } else {
      content += "<table><tr><td>" + std::string(kTitles[i]) +
                 "</td></tr></table><hr>";
    }
    files.push_back(
        {"d" + std::to_string(i) + ".htm",
         "<html><body><div class=\"navheader\"><table><tr><th colspan=\"3\">" +
             std::string(kTitles[i]) + "</th></tr><tr><td>" + prev +
             "&nbsp;</td><th>&nbsp;</th><td>&nbsp;" + next +
             "</td></tr></table><hr></div>" + content +
             "</div><div class=\"navfooter\"><hr><table><tr><td>" + prev +
             "</td><td><a href=\"index.htm\">Home</a></td><td>" + next +
             "</td></tr></table></div></body></html>\n",
         content});
  }
  return files;
}

// Module pages: the title heading, then a heading of the template before
// the module's name, its summary and its description, each under a
// heading of the template too; one description names an argument Module,
// so that the heading is not the template's only "Module". The content
// starts at the title.
std::vector<File> ModulePages() {
  const char* const kModules[] = {"delta", "glacier", "tide",
                                  "vent",  "dune",    "reef"};
  const char* const kSummaries[] = {"Silt and sand.",   "Ice at work.",
                                    "The moon's pull.", "Heat below.",
                                    "Wind on sand.",    "Life in shallows."};
  std::vector<File> files;
  for (int i = 0; i < 6; ++i) {
    const std::string module = kModules[i];
    const std::string content =
        module + "</h1></center>\n<h3>Module</h3>\n<div class=\"name\">" +
        module + "</div>\n<h3>Summary</h3>\n<div class=\"summary\">" +
        kSummaries[i] + "</div>\n<h3>Description</h3>\n<p>" + kBodies[i] +
        (i == 2 ? " Pass <code>Module</code>." : "");
    files.push_back({"m" + std::to_string(i) + ".htm",
                     "<html><body><div class=\"nav\"><a href=\"/\">Home</a> "
                     "<a href=\"/about\">About</a></div>\n<div class=\"page\">"
                     "<center><h1>" +
                         content +
                         "</p>\n</div>\n<div class=\"footer\">Made by the "
                         "site</div></body></html>\n",
                     content});
  }
  return files;
}

TEST(SuggestionTest, FirstPairCutsEveryPagesOwnText) {
  std::vector<File> mixed = Site(6);
  mixed.push_back({"s1.htm", Stub(1), ""});
  mixed.push_back({"s2.htm", Stub(2), ""});
  std::vector<File> stubs = Site(4);
  for (int i = 0; i < 12; ++i) {
    // Made in the site's own head, which makes them look like its pages.
    stubs.push_back(
        {"s" + std::to_string(i) + ".htm",
         "<html><head><title>Site</title><meta http-equiv=\"refresh\" "
         "content=\"0; url=p1.htm\"></head><body>\n<div class=\"nav\">"
         "<a href=\"p1.htm\">Moved</a></div>\n</body></html>\n",
         ""});
  }
  const Case cases[] = {
      {"one template, varying body", Site(6), Charset::kWindows1256, false, 0,
       ""},
      {"per-page ids give a pattern", Site(5, true), Charset::kWindows1256,
       true, 0, ""},
      {"the majority template wins", mixed, Charset::kWindows1256, false, 2,
       ""},
      {"CR LF kept in the markers", Site(4, false, "\r\n"),
       Charset::kWindows1256, false, 0, "\r\n"},
      {"header ending in the content's tags", Book(6), Charset::kWindows1256,
       false, 0, ""},
      {"pages alike in their frame only", Manual(), Charset::kWindows1256,
       false, 0, ""},
      {"reference and chapter pages in one frame", Reference(),
       Charset::kWindows1256, false, 0, ""},
      {"few words, comments and archive pages", Blog(), Charset::kWindows1256,
       false, 2, ""},
      {"UTF-16LE pages", Site(4, false, "\n", true), Charset::kUtf16Le, false,
       0, ""},
      {"redirect stubs outnumber the pages", stubs, Charset::kWindows1256,
       false, 12, ""},
      {"a language switcher above the title", Languages(true),
       Charset::kWindows1256, false, 0, ""},
      {"a language switcher above the title, no article element",
       Languages(false), Charset::kWindows1256, false, 0, ""},
      {"a switcher's numbered links before the content, chapters beside",
       Switcher(), Charset::kWindows1256, true, 2, ""},
      {"wrappers named after the menu beside them", DocsTheme(),
       Charset::kWindows1256, false, 0, ""},
      {"pages that end inside their content", Unclosed(false),
       Charset::kWindows1256, true, 0, ""},
      {"pages that end inside their content, most after a paragraph of links",
       Unclosed(true), Charset::kWindows1256, true, 0, ""},
      {"two long pages alike beside many short ones", TwoLongPages(),
       Charset::kWindows1256, false, 2, ""},
      {"an end tag inside the content of pages not compared", NoteInside(),
       Charset::kWindows1256, false, 0, ""},
      {"a content section followed by other tags", Api(), Charset::kWindows1256,
       false, 0, ""},
      {"a class on the root names no region", Book2(5), Charset::kWindows1256,
       false, 0, ""},
      {"a product's name and price before its description", Shop(),
       Charset::kWindows1256, false, 0, ""},
      {"an info box under the name line in the content element", Plugins(),
       Charset::kWindows1256, false, 0, ""},
      {"a template heading between the title and the module's name",
       ModulePages(), Charset::kWindows1256, false, 0, ""},
      {"a \"Next\" link above the content that the last page lacks", NavBook(),
       Charset::kWindows1256, false, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    for (const File& file : c.files) folder.create(file.name, file.bytes);
    const SuggestionResult result = SuggestMarkers(Request(folder));
    ASSERT_EQ(result.why, NoSuggestion::kNone) << TextToUtf8(result.message);
    ASSERT_FALSE(result.suggestions.empty());
    ASSERT_LE(result.suggestions.size(), 3u);
    const MarkerSuggestion& first = result.suggestions.front();
    EXPECT_EQ(first.regex, c.regex);
    EXPECT_EQ(result.other_template, c.other_template);
    const std::size_t with_body = static_cast<std::size_t>(
        std::count_if(c.files.begin(), c.files.end(),
                      [](const File& f) { return !f.body.empty(); }));
    EXPECT_EQ(first.pieces, static_cast<std::int64_t>(with_body));
    EXPECT_EQ(result.files, static_cast<std::int64_t>(c.files.size()));
    EXPECT_NE(TextToUtf8(result.message)
                  .find(std::to_string(with_body) + " of " +
                        std::to_string(c.files.size())),
              std::string::npos);
    if (c.other_template > 0) {
      EXPECT_NE(
          TextToUtf8(result.message)
              .find(std::to_string(c.other_template) + " files follow another"),
          std::string::npos);
    }
    // No pair twice, whether as literal text or as the same pattern.
    for (std::size_t i = 1; i < result.suggestions.size(); ++i) {
      for (std::size_t j = 0; j < i; ++j) {
        EXPECT_FALSE(result.suggestions[i].start ==
                         result.suggestions[j].start &&
                     result.suggestions[i].end == result.suggestions[j].end);
      }
    }
    // Markers are whole tags: no empty marker, none in a word or a tag.
    for (const MarkerSuggestion& s : result.suggestions) {
      EXPECT_GT(s.pieces, 0);
      EXPECT_FALSE(s.basis.empty());
      if (s.regex) continue;
      for (const std::u16string& marker : {s.start, s.end}) {
        ASSERT_FALSE(marker.empty());
        EXPECT_EQ(marker.front(), u'<');
        EXPECT_EQ(marker.back(), u'>');
      }
    }
    if (!c.in_marker.empty()) {
      EXPECT_NE(TextToUtf8(first.start + first.end).find(c.in_marker),
                std::string::npos);
    }
    EXPECT_EQ(first.preview.substr(0, 2), PreviewStart(c.files.front().body));
    // Cut as a run cuts: every page gives exactly its own text.
    MatchOptions matching;
    matching.regex = first.regex;
    const auto start = MakeMatcher(first.start, matching);
    const auto end = MakeMatcher(first.end, matching);
    for (const File& file : c.files) {
      std::u16string text;
      DecodeText(file.bytes, c.charset, text);
      const CutResult cut = CutPiece(text, *start, *end);
      if (file.body.empty()) {
        EXPECT_NE(cut.outcome, FileOutcome::kExtracted) << file.name;
        continue;
      }
      ASSERT_EQ(cut.outcome, FileOutcome::kExtracted) << file.name;
      EXPECT_EQ(TextToUtf8(text.substr(cut.piece.begin, cut.piece.size())),
                file.body)
          << file.name;
    }
  }
}

// After the first pair, which is the best region's, the others are ranked
// by how many files they give a piece on, most first: of a manual's
// reference and chapter pages, another pair cuts every page too, and goes
// before the pairs that cut the reference pages only.
TEST(SuggestionTest, LaterPairsRankedByMostPieces) {
  TempFolder folder;
  for (const File& file : Reference()) folder.create(file.name, file.bytes);
  const SuggestionResult result = SuggestMarkers(Request(folder));
  ASSERT_EQ(result.suggestions.size(), 3u) << TextToUtf8(result.message);
  EXPECT_EQ(result.suggestions[1].pieces, result.files);
  EXPECT_GT(result.suggestions[1].pieces, result.suggestions[2].pieces);
}

// Pages whose menu links to the page on tides by its first words, which
// are that page's title too.
std::vector<File> SiteWithMenuLink() {
  std::vector<File> files = Site(5);
  for (File& file : files) {
    const std::size_t at = file.bytes.find("About</a>") + 9;
    file.bytes.insert(at, " <a href=\"p3.htm\">Tides follow the moon</a>");
  }
  std::string& tides = files[3].bytes;
  tides.replace(tides.find("<title>Site"), 11, "<title>Tides follow the moon");
  return files;
}

// Reference pages: each item's title and declaration, in tags alike on
// every page, open its content before its description.
std::vector<File> ItemPages() {
  const char* const kItems[] = {"delta", "glacier", "tide", "vent", "dune"};
  std::vector<File> files;
  for (int i = 0; i < 5; ++i) {
    const std::string item = kItems[i];
    const std::string content =
        "<h1 class=\"title\">The " + item + "</h1>\n<pre class=\"decl\">void " +
        item + "(int n);</pre>\n<p>" + kBodies[i == 0 ? 0 : i + 1] + "</p>";
    std::string page = SitePage(content);
    files.push_back({"p" + std::to_string(i) + ".htm", page, content});
  }
  return files;
}

// Pages of Site(4) whose second page has `body` for its own text.
std::vector<File> SiteShowing(const std::string& body) {
  std::vector<File> files = Site(4);
  std::string& bytes = files[1].bytes;
  bytes.replace(bytes.find(files[1].body), files[1].body.size(), body);
  files[1].body = body;
  return files;
}

TEST(SuggestionTest, AroundPastedTextWithOtherSpacingCaseAndEntities) {
  struct Around {
    const char* what;
    std::vector<File> files;
    std::u16string pasted;
    std::string held;   // source text the piece on its page must hold
    bool exact = true;  // every page gives exactly its own text
  };
  const Around cases[] = {
      {"entity, case and line breaks", Site(4),
       u"GLACIERS carve\n  valleys & leave",
       "Glaciers carve valleys &amp; leave"},
      {"inline tags skipped", Site(4), u"carry silt to",
       "carry <b>silt</b> to"},
      {"named references beyond the common ones",
       SiteShowing("Os requisi&ccedil;&otilde;es &#x2014; e o &Eacute;xito."),
       u"os requisi\u00E7\u00F5es \u2014 E O \u00C9XITO",
       "requisi&ccedil;&otilde;es"},
      {"curly quotes, dashes and non-breaking spaces typed plainly",
       SiteShowing("The river&rsquo;s &ldquo;delta&rdquo;&nbsp;grows "
                   "&ndash; slowly&#8212;always."),
       u"the river's \"delta\" grows - slowly-always", "river&rsquo;s"},
      {"the item's title and declaration belong to its content", ItemPages(),
       u"Tides follow the moon", "Tides follow the moon"},
      {"straight quotes on the page, curly ones pasted",
       SiteShowing("Tides don't \"wait\" for boats."),
       u"tides don\u2019t \u201Cwait\u201D", "don't"},
      {"text in a menu before the page that holds it", SiteWithMenuLink(),
       u"tides follow the moon", "Tides follow the moon, twice"},
      {"the majority's template, comments and archive pages aside", Blog(),
       u"wind rain sun fog", "wind rain sun fog"},
      {"archive pages with a heading of their own", Magazine(),
       u"tides follow the moon", "Tides follow the moon"},
      {"the title in the site's header, the text in the main element", Wiki(),
       u"tides follow the moon", "Tides follow the moon"},
      {"an index page that only the body's pair cuts", Notes(),
       u"tides follow the moon", "Tides follow the moon"},
      {"pages that end inside their content, most after a paragraph of links",
       Unclosed(true), u"tides follow the moon", "Tides follow the moon"},
      // The content element's end, as the pages compared show it, also
      // stands inside the content of pages not compared: taken on over the
      // template behind it.
      {"the content element's end inside the content of pages not compared",
       NoteInside(true), u"tides follow the moon", "Tides follow the moon"},
      // Too few pages to compare: the element that holds the text.
      {"two pages", Site(2), u"rivers CARRY silt", "carry <b>silt</b>", false},
  };
  for (const Around& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    for (const File& file : c.files) folder.create(file.name, file.bytes);
    const SuggestionResult result = SuggestMarkers(Request(folder, c.pasted));
    ASSERT_EQ(result.why, NoSuggestion::kNone) << TextToUtf8(result.message);
    ASSERT_FALSE(result.suggestions.empty());
    const MarkerSuggestion& first = result.suggestions.front();
    MatchOptions matching;
    matching.regex = first.regex;
    bool held = false;
    // Every page with text of its own gives exactly that, and nothing else.
    for (const File& file : c.files) {
      std::u16string text;
      DecodeText(file.bytes, Charset::kWindows1256, text);
      const CutResult cut = CutPiece(text, *MakeMatcher(first.start, matching),
                                     *MakeMatcher(first.end, matching));
      const std::string piece =
          cut.outcome == FileOutcome::kExtracted
              ? TextToUtf8(text.substr(cut.piece.begin, cut.piece.size()))
              : "";
      if (c.exact) {
        EXPECT_EQ(piece, file.body) << file.name;
      }
      held = held || piece.find(c.held) != std::string::npos;
    }
    EXPECT_TRUE(held);
  }
}

// Small pages are compared as many as for the pages alone, so that the end
// of the pair around the text is one that every page has: 40 products,
// four of which, none of the first sixteen compared, close their content
// with a line that says they have no reviews.
TEST(SuggestionTest, AroundSmallPagesEndsFromEnoughPages) {
  const char* kWords[] = {"sun",    "rain",    "wind",  "snow",  "fog",
                          "hail",   "mist",    "frost", "dew",   "cloud",
                          "storm",  "gale",    "sleet", "thaw",  "ice",
                          "breeze", "drizzle", "haze",  "flood", "drought"};
  TempFolder folder;
  for (int i = 0; i < 40; ++i) {
    const std::string reviews =
        i % 10 == 3
            ? "<p class=\"none\">No reviews yet.</p>"
            : "<div class=\"review\"><p>" + std::string(kBodies[(i + 1) % 6]) +
                  " " + kWords[i * 3 % 20] + "</p></div>";
    folder.create(
        "s" + std::to_string(10 + i) + ".htm",
        "<html><body><header><a href=\"/\">Shop</a></header>\n<main><div "
        "class=\"product\"><h1 class=\"name\">" +
            std::string(kWords[i % 20]) + " " +
            kWords[(i * 7 + 3 + i / 20) % 20] +
            "</h1><div class=\"description\"><p>" + kBodies[i % 6] +
            "</p></div><h2>Reviews</h2>" + reviews +
            "</div>\n<div class=\"buy\"><button>Add to cart</button></div>"
            "</main>\n<footer>Shop Ltd</footer></body></html>\n");
  }
  const SuggestionResult result =
      SuggestMarkers(Request(folder, u"tides follow the moon"));
  ASSERT_FALSE(result.suggestions.empty()) << TextToUtf8(result.message);
  bool region = false;
  for (const MarkerSuggestion& pair : result.suggestions) {
    if (pair.basis != kBasisAroundRegion) continue;
    region = true;
    EXPECT_EQ(pair.pieces, 40) << TextToUtf8(pair.start + u" " + pair.end);
  }
  EXPECT_TRUE(region);
}

// The run reads a page without a signature in windows-1256; the preview
// shows the piece as a browser shows the page.
TEST(SuggestionTest, PreviewShowsThePageAsABrowserDoes) {
  struct Shown {
    const char* what;
    std::string head;        // put into each page's head
    std::string body;        // the first page's own text, in its bytes
    std::u16string preview;  // how the preview starts
  };
  const Shown cases[] = {
      {"UTF-8 without a signature, said by its meta charset",
       "<meta charset=\"utf-8\">", "\xC2\xB6 Rivers carry silt.",
       u"\u00B6 Rivers"},
      {"UTF-8 without a signature or a meta charset", "",
       "Caf\xC3\xA9 \xC2\xB6 rivers.", u"Caf\u00E9 \u00B6"},
      {"windows-1256 as it says", "<meta charset=\"windows-1256\">",
       "\xC7\xE1\xE4\xEC"
       "d rivers.",
       u"\u0627\u0644\u0646\u0649d"},
  };
  for (const Shown& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    std::vector<File> files = SiteShowing(c.body);
    // The first page gives the preview.
    std::swap(files[0], files[1]);
    std::swap(files[0].name, files[1].name);
    for (File& file : files) {
      file.bytes.insert(file.bytes.find("</head>"), c.head);
      folder.create(file.name, file.bytes);
    }
    const SuggestionResult result = SuggestMarkers(Request(folder));
    ASSERT_FALSE(result.suggestions.empty()) << TextToUtf8(result.message);
    EXPECT_EQ(result.suggestions.front().preview.substr(0, c.preview.size()),
              c.preview);
  }
}

TEST(SuggestionTest, ReasonsForNoSuggestion) {
  struct Reason {
    const char* what;
    std::vector<std::string> pages;
    std::u16string around;
    NoSuggestion why;
    std::string said;  // part of the message
  };
  const std::string page = SitePage(kBodies[0]);
  const Reason cases[] = {
      {"too few pages",
       {page, SitePage(kBodies[1])},
       u"",
       NoSuggestion::kTooFewFiles,
       "Only 2 files to compare; "},
      {"one page",
       {page},
       u"",
       NoSuggestion::kTooFewFiles,
       "Only 1 file to compare; "},
      {"all alike",
       {page, page, page},
       u"",
       NoSuggestion::kAllAlike,
       "--around"},
      {"pages of no shared template",
       {"<html><body><p>first</p></body></html>",
        "<table><tr><td>second</td></tr></table>",
        "<ul><li><em>third</em></li></ul>", "<div><span>fourth</span></div>"},
       u"",
       NoSuggestion::kNoSharedTemplate,
       "No template"},
      {"pages that differ in their tags only, not in text",
       {SitePage(kBodies[0], 1), SitePage(kBodies[0], 2),
        SitePage(kBodies[0], 3)},
       u"",
       NoSuggestion::kNoMarkers,
       "No marker pair"},
      {"no markup to make markers of",
       {"first words", "second words", "third words"},
       u"",
       NoSuggestion::kNoMarkers,
       "No marker pair"},
      {"pasted text nowhere",
       {page, page, page},
       u"no such words",
       NoSuggestion::kTextNotFound,
       "none of the files"},
  };
  for (const Reason& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    for (std::size_t i = 0; i < c.pages.size(); ++i) {
      folder.create("p" + std::to_string(i) + ".htm", c.pages[i]);
    }
    const SuggestionResult result = SuggestMarkers(Request(folder, c.around));
    EXPECT_EQ(result.why, c.why);
    EXPECT_TRUE(result.suggestions.empty());
    EXPECT_NE(TextToUtf8(result.message).find(c.said), std::string::npos)
        << TextToUtf8(result.message);
  }
  SuggestionRequest request;
  request.files.folder = u"/no/such/folder";
  request.files.extensions = {u"htm"};
  const SuggestionResult missing = SuggestMarkers(request);
  EXPECT_EQ(missing.why, NoSuggestion::kInputMissing);
  EXPECT_EQ(missing.message, u"Didn't find choosed folder.");
}

// A stop requested before the first page or while the pairs are checked on
// every page ends the suggestion there: no pair, the run's stop message,
// and no page read after it.
TEST(SuggestionTest, StopRequestEndsIt) {
  TempFolder folder;
  for (int i = 0; i < 6; ++i) {
    folder.create("p" + std::to_string(i) + ".htm", SitePage(kBodies[i]));
  }
  ASSERT_EQ(SuggestMarkers(Request(folder)).why, NoSuggestion::kNone);
  // The sample is read page by page, then every page once more.
  for (const int stop_at : {1, 9}) {
    SCOPED_TRACE(stop_at);
    int asked = 0;
    SuggestionRequest request = Request(folder);
    request.stop_requested = [&] { return ++asked >= stop_at; };
    const SuggestionResult result = SuggestMarkers(request);
    EXPECT_EQ(result.why, NoSuggestion::kStopped);
    EXPECT_EQ(result.message, u"Stopped by the user.");
    EXPECT_TRUE(result.suggestions.empty());
    EXPECT_EQ(asked, stop_at);
  }
}

}  // namespace
}  // namespace vantrel
