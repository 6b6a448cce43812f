// What vantrel-cli tells beyond the window's log: why a file gave no piece,
// a dry run, the JSON report, tolerant matching and a chosen charset.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cli/cli_process.h"
#include "tests/cli/json_lines.h"
#include "tests/support/pages.h"
#include "tests/support/temp_folder.h"

namespace vantrel {
namespace {

using nlohmann::json;
using testing::JsonLines;
using testing::Page;
using testing::RunCli;
using testing::TempFolder;

// The page with LF line breaks everywhere, as pages saved on Linux have.
std::string LfPage(std::string_view body) {
  std::string page = Page(body);
  std::string out;
  for (char c : page) {
    if (c != '\r') out.push_back(c);
  }
  return out;
}

std::string Upper(std::string text) {  // ASCII
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// The page's <Div> tags as <div>.
std::string LowerDiv(std::string page) {
  for (std::size_t at; (at = page.find("Div")) != std::string::npos;) {
    page[at] = 'd';
  }
  return page;
}

TEST(ReportTest, NearMissesAreExplainedAndTolerancesMatchThem) {
  const std::string kNoPiece =
      "Haven't start: a.htm\n1 checked, 1 didn't find.\n";
  struct Case {
    std::string page;
    std::vector<std::string> options;
    std::string out;  // without the output line
    std::string err;
    std::string piece;  // written, when the file gave one
  };
  const Case cases[] = {
      {LfPage("x\n"),
       {},
       kNoPiece,
       "vantrel-cli: 1 file that gave no piece has the start marker with "
       "other line breaks; --explain lists it, --line-breaks any matches "
       "it\n",
       ""},
      {LfPage("x\n"), {"--quiet"}, kNoPiece, "", ""},
      {LfPage("x\n"),
       {"--explain"},
       "Haven't start: a.htm\n  the start marker is there at line 2 with LF "
       "line breaks; the marker has CR LF\n1 checked, 1 didn't find.\n",
       "",
       ""},
      {LfPage("x\n"),
       {"--line-breaks", "any"},
       "1 checked, 0 didn't find.\n",
       "",
       "x\n"},
      {Upper(Page("x")),
       {"--ignore-case"},
       "1 checked, 0 didn't find.\n",
       "",
       "X"},
      // The note names every option that its mend needs.
      {LowerDiv(LfPage("x\n")),
       {},
       kNoPiece,
       "vantrel-cli: 1 file that gave no piece has the start marker in other "
       "letter case and with other line breaks; --explain lists it, "
       "--ignore-case with --line-breaks any matches it\n",
       ""},
      {LowerDiv(LfPage("x\n")),
       {"--ignore-case", "--line-breaks", "any"},
       "1 checked, 0 didn't find.\n",
       "",
       "x\n"},
  };
  for (const Case& c : cases) {
    TempFolder dir;
    dir.create("a.htm", c.page);
    std::vector<std::string> args = c.options;
    args.push_back(dir.path().string());
    const auto run = RunCli(args);
    const std::string shown = ::testing::PrintToString(c.options);
    const std::string output_line =
        c.piece.empty() ? ""
                        : "Output: " + dir.path().string() + "/Export1.htm\n";
    EXPECT_EQ(run.out, output_line + c.out) << shown;
    EXPECT_EQ(run.err, c.err) << shown;
    EXPECT_EQ(run.status, c.piece.empty() ? 1 : 0) << shown;
    if (!c.piece.empty()) {
      // The piece as it stands in the page, line breaks and case unchanged
      // (a page without a signature comes out as its own bytes).
      EXPECT_EQ(dir.read("Export1.htm"), c.piece) << shown;
    }
  }
}

// Every file and folder below `root` with its bytes.
std::map<std::string, std::string> Snapshot(const std::filesystem::path& root) {
  std::map<std::string, std::string> entries;
  for (const auto& entry :
       std::filesystem::recursive_directory_iterator(root)) {
    std::string bytes = "<folder>";
    if (entry.is_regular_file()) {
      std::ifstream in(entry.path(), std::ios::binary);
      std::ostringstream content;
      content << in.rdbuf();
      bytes = content.str();
    }
    entries[std::filesystem::relative(entry.path(), root).string()] = bytes;
  }
  return entries;
}

// A dry run does and tells all that a real run does, and leaves the folder
// as it was; the real run then makes what the dry run named. Where the
// output cannot be made (a read-only folder, unless this runs as root, who
// may write there; OutputInTheWayTest covers root), both end alike.
TEST(ReportTest, DryRunTellsWhatARunWouldDoAndWritesNothing) {
  struct Case {
    std::vector<std::string> options;
    const char* in_the_way;  // a folder of this name, or nothing
    bool read_only = false;  // the run ends, unless it runs as root
  };
  const Case cases[] = {
      {{}, nullptr},
      {{"--separate"}, nullptr},
      {{}, "Export1.htm"},  // the run ends: a folder where the file goes
      {{"--separate", "--json"}, nullptr},
      {{}, nullptr, true},
      {{"--separate"}, nullptr, true},
  };
  for (const Case& c : cases) {
    TempFolder dir;
    dir.create("a.htm", Page("one\r\n"));
    dir.create("b.htm", "no markers");
    dir.create("Export1/old.htm", "an earlier run's");
    if (c.in_the_way != nullptr) {
      std::filesystem::create_directory(dir.path() / c.in_the_way);
    }
    if (c.read_only) ::chmod(dir.path().c_str(), 0555);
    std::vector<std::string> args = c.options;
    args.push_back(dir.path().string());
    std::vector<std::string> dry_args = args;
    dry_args.insert(dry_args.begin(), "--dry-run");

    const auto before = Snapshot(dir.path());
    const auto dry = RunCli(dry_args);
    EXPECT_EQ(Snapshot(dir.path()), before);
    const auto real = RunCli(args);

    std::string expected = real.out;
    const std::string shown = ::testing::PrintToString(c.options);
    const std::size_t output = expected.find("Output: ");
    if (output != std::string::npos) {
      expected.insert(expected.find('\n', output),
                      " (dry run: nothing written)");
    }
    if (expected.find("\"dry_run\":false") != std::string::npos) {
      expected.replace(expected.find("\"dry_run\":false"), 15,
                       "\"dry_run\":true");
    }
    EXPECT_EQ(dry.out, expected) << shown;
    EXPECT_EQ(dry.err, real.err) << shown;
    EXPECT_EQ(dry.status, real.status) << shown;
    if (real.status != 2) {
      EXPECT_NE(Snapshot(dir.path()), before) << shown;
    }
  }
}

TEST(ReportTest, JsonLinesForFilesInputsAndTheTrap) {
  TempFolder dir;
  dir.create("bad\xFF.htm", "\xEF\xBB\xBF" + LfPage("y"));
  // The piece starts on line 4 and holds 6 characters in 7 UTF-16 units.
  dir.create("c.htm", "\xEF\xBB\xBF" + Page("x\r\n\U0001F600\r\n"));
  dir.create("empty.htm", "");
  auto lines = JsonLines(RunCli({"--json", dir.path().string()}).out);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0]["file"], "bad\uFFFD.htm");
  EXPECT_EQ(lines[0]["file_bytes"], "626164ff2e68746d");
  EXPECT_EQ(lines[0]["result"], "no_start");
  EXPECT_EQ(lines[0]["hint"]["kind"], "line_breaks");
  EXPECT_EQ(lines[0]["hint"]["marker"], "start");
  EXPECT_EQ(lines[0]["hint"]["line"], 2);
  EXPECT_EQ(lines[1],
            json::parse(R"({"type":"file","file":"c.htm","result":"extracted",
                            "length":6,"line":4})"));
  EXPECT_EQ(lines[2], json::parse(R"({"type":"file","file":"empty.htm",
                                      "result":"cant_read"})"));
  EXPECT_EQ(lines[3], json::parse(R"({"type":"summary",
      "summary":"3 checked, 2 didn't find.", "checked":3, "failed":2,
      "extracted":1, "charset":"utf-8", "output":")" +
                                  dir.path().string() + R"(/Export1.htm",
      "dry_run":false, "end":"completed", "error":null})"));

  // The options that choose the output's encoding name it beside the
  // sources' charset; without them (above) the summary has no such field.
  const struct {
    std::vector<std::string> options;
    const char* out_charset;
  } encodings[] = {{{"--text"}, "utf-8"},
                   {{"--text", "--out-charset", "utf-16le"}, "utf-16le"},
                   {{"--out-charset", "utf-8"}, "utf-8"},
                   {{"--jsonl"}, "utf-8"}};
  for (const auto& c : encodings) {
    std::vector<std::string> args = c.options;
    args.insert(args.end(), {"--json", "--dry-run", dir.path().string()});
    lines = JsonLines(RunCli(args).out);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back()["charset"], "utf-8");
    EXPECT_EQ(lines.back()["out_charset"], std::string(c.out_charset))
        << ::testing::PrintToString(c.options);
  }

  lines = JsonLines(RunCli({"--json", "--ext", "", dir.path().string()}).out);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], json::parse(R"({"type":"input_rejected",
                                      "message":"Didn't find extension."})"));
  EXPECT_EQ(lines[1]["end"], "input_rejected");
  EXPECT_EQ(lines[1]["charset"], nullptr);

  // The trap at c.htm's piece: the file before it is told, c.htm is not.
  dir.create("Export1", "a plain file where the output folder would go");
  const auto trapped = RunCli({"--json", "--separate", dir.path().string()});
  lines = JsonLines(trapped.out);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0]["result"], "no_start");
  EXPECT_EQ(lines[1]["summary"], nullptr);
  EXPECT_EQ(lines[1]["output"], nullptr);
  EXPECT_EQ(lines[1]["end"], "error");
  EXPECT_EQ(lines[1]["error"], "cannot create folder " + dir.path().string() +
                                   "/Export1: File exists");
  EXPECT_EQ(trapped.status, 2);
}

// UTF-8 pages without a signature read as windows-1256 by default, so an
// Arabic marker is not found; --charset utf-8 reads them as they are.
TEST(ReportTest, ChosenCharsetReadsPagesWithoutASignature) {
  TempFolder dir;
  const std::string marker = "\xD9\x85\xD8\xAA\xD9\x86:";  // "متن:"
  dir.create("a.htm", "<p>" + marker + "\xD8\xA7\xD9\x84\xD9\x86\xD8\xB5.</p>");
  dir.create("b.htm", "<p>" + marker + "\xD8\xA8.</p>");
  const std::vector<std::string> markers = {"--start", marker, "--end", "."};

  std::vector<std::string> args = markers;
  args.push_back(dir.path().string());
  const auto guessed = RunCli(args);
  EXPECT_EQ(guessed.status, 1);
  EXPECT_NE(guessed.err.find("2 files that gave no piece have another charset "
                             "than the run's; --explain lists them, --charset "
                             "detect reads each file in its own"),
            std::string::npos)
      << guessed.err;

  args.insert(args.begin(), {"--charset", "utf-8"});
  const auto chosen = RunCli(args);
  EXPECT_EQ(chosen.status, 0) << chosen.out;
  EXPECT_EQ(dir.read("Export1.htm"),
            "\xFF\xFE"
            "\x27\x06\x44\x06\x46\x06\x35\x06"
            "\x28\x06");
}

// A folder of pages in four charsets, none of which the first page's
// signature could tell: --charset detect reads each in its own, says which
// and why, and writes every piece in UTF-16LE.
TEST(ReportTest, DetectReadsEachPageInItsOwnCharset) {
  using namespace std::string_literals;
  TempFolder dir;
  // "السلام عليكم ورحمة الله وبركاته" around the piece "ال" in windows-1256.
  const std::string greeting =
      "\xC7\xE1\xD3\xE1\xC7\xE3 \xDA\xE1\xED\xDF\xE3 \xE6\xD1\xCD\xE3\xC9 "
      "\xC7\xE1\xE1\xE5 \xE6\xC8\xD1\xDF\xC7\xCA\xE5 ";
  dir.create("a.htm", "<p>" + greeting + "[\xC7\xE1]" + greeting + "</p>");
  dir.create("b.htm", "<p>[\xD9\x85\xD8\xB1]</p>");          // UTF-8 "مر"
  dir.create("c.htm", "<meta charset=asmo-708>[\xC7\xE4]");  // "ال"
  dir.create("d.htm", "\0[\x06\x45\0]"s);                    // UTF-16BE "م"
  const auto run = RunCli({"--charset", "detect", "--json", "--start", "[",
                           "--end", "]", dir.path().string()});
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  const std::string fields[] = {
      R"("file":"a.htm","result":"extracted","length":2,"line":1,)"
      R"("charset":"windows-1256","charset_reason":"detected","confidence":)",
      R"("charset":"utf-8","charset_reason":"utf-8"})",
      R"("charset":"iso-8859-6","charset_reason":"meta"})",
      R"("charset":"utf-16be","charset_reason":"utf-16"})",
  };
  for (const std::string& field : fields) {
    EXPECT_NE(run.out.find(field), std::string::npos) << field << run.out;
  }
  EXPECT_EQ(dir.read("Export1.htm"),
            "\xFF\xFE"
            "\x27\x06\x44\x06"
            "\x45\x06\x31\x06"
            "\x27\x06\x44\x06"
            "\x45\x06");
}

// A charset that the statistics guess without both detectors backing it is
// marked as a guess of low confidence, in --explain's line and in --json;
// a guess they both back is not.
TEST(ReportTest, DetectMarksALowConfidenceGuess) {
  TempFolder dir;
  // "Дом" in KOI8-R: three letters that several charsets could hold.
  dir.create("short.htm", "[\xE4\xCF\xCD]");
  // "السلام عليكم ورحمة الله وبركاته" in windows-1256, five times.
  std::string greeting;
  for (int i = 0; i < 5; ++i) {
    greeting +=
        "\xC7\xE1\xD3\xE1\xC7\xE3 \xDA\xE1\xED\xDF\xE3 \xE6\xD1\xCD\xE3\xC9 "
        "\xC7\xE1\xE1\xE5 \xE6\xC8\xD1\xDF\xC7\xCA\xE5 ";
  }
  dir.create("long.htm", "[" + greeting + "]");
  const std::vector<std::string> args = {"--charset", "detect", "--start",  "[",
                                         "--end",     "]",      "--dry-run"};
  auto explain = args;
  explain.insert(explain.end(), {"--explain", dir.path().string()});
  const std::string out = RunCli(explain).out;
  // Each file's --explain line, up to its end.
  const auto line_of = [&out](const std::string& file) {
    const std::size_t at = out.find("  " + file + ": read as ");
    return at == std::string::npos ? std::string()
                                   : out.substr(at, out.find('\n', at) - at);
  };
  EXPECT_TRUE(line_of("short.htm").ends_with(", low confidence)")) << out;
  EXPECT_TRUE(
      line_of("long.htm")
          .starts_with(
              "  long.htm: read as windows-1256 (detected, confidence "))
      << out;
  EXPECT_EQ(line_of("long.htm").find("low"), std::string::npos) << out;

  auto json = args;
  json.insert(json.end(), {"--json", dir.path().string()});
  const std::string lines = RunCli(json).out;
  const auto object_of = [&lines](const std::string& file) {
    const std::size_t at = lines.find(R"("file":")" + file + "\"");
    return at == std::string::npos
               ? std::string()
               : lines.substr(at, lines.find('\n', at) - at);
  };
  EXPECT_TRUE(object_of("short.htm").ends_with(R"("low_confidence":true})"))
      << lines;
  EXPECT_TRUE(object_of("long.htm").ends_with(R"("low_confidence":false})"))
      << lines;
}

}  // namespace
}  // namespace vantrel

namespace vantrel {
namespace {

// --jsonl: one object per piece, in run order, that a JSON library reads
// back to the source's name and the piece (as text with --text, quotes,
// line breaks and control characters included; gumbo makes a control
// character U+FFFD), a name that is not UTF-8 with its bytes in hex; --jsonl
// and --separate do not go together.
TEST(ReportTest, JsonLinesCorpusReadsBack) {
  TempFolder dir;
  const std::string signature(testing::kUtf8Signature);
  dir.create("a.htm", signature + Page("say \"hi\"\t\x01<p>x"));
  dir.create("b\xFF.htm", signature + Page("<li>B"));
  std::filesystem::create_directory(dir.path() / "sub");
  dir.create("sub/c.htm", signature + Page("\xD9\x85\\"));
  const std::string folder = dir.path().string();

  for (const bool text : {false, true}) {
    std::vector<std::string> args = {"--jsonl", "--recursive", "--quiet"};
    if (text) args.push_back("--text");
    args.push_back(folder);
    const testing::Outcome run = RunCli(args);
    EXPECT_EQ(run.status, 0) << run.out;
    std::istringstream in(dir.read(text ? "Export2.jsonl" : "Export1.jsonl"));
    std::vector<std::pair<std::string, std::string>> lines;
    for (std::string line; std::getline(in, line);) {
      const json object = json::parse(line);
      lines.emplace_back(object.at("file"), object.at("piece"));
      if (object.contains("file_bytes"))
        lines.back().first = object["file_bytes"];
    }
    if (text) {
      EXPECT_EQ(lines,
                (decltype(lines){{"a.htm", "say \"hi\" \xEF\xBF\xBD\n\nx"},
                                 {"62ff2e68746d", "- B"},
                                 {"sub/c.htm", "\xD9\x85\\"}}));
    } else {
      ASSERT_EQ(lines.size(), 3u);
      EXPECT_EQ(lines[0].second, "say \"hi\"\t\x01<p>x");
    }
  }
  EXPECT_EQ(RunCli({"--jsonl", "--separate", folder}).status, 64);
}

}  // namespace
}  // namespace vantrel
