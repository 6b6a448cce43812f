// vantrel-cli beyond one folder and one extension: sub-folders, several
// extensions, and markers as patterns.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/cli/cli_process.h"
#include "tests/support/temp_folder.h"

namespace vantrel {
namespace {

using testing::RunCli;
using testing::TempFolder;

// A tree with files at three depths, names that sort only when letter case
// is ignored, a folder name that is not UTF-8, another extension, and a
// link to a folder, which is not followed.
void MakeTree(TempFolder& dir) {
  dir.create("a.htm", "[a]");
  dir.create("B/a.htm", "[B/a]");
  dir.create("b.htm", "[b]");
  dir.create("bad\xFF/x.htm", "[bad/x]");
  dir.create("c/d/e.HTML", "[c/d/e]");
  dir.create("c/d/none.htm", "no markers");
  dir.create("c/notes.txt", "[not read]");
  ASSERT_EQ(::symlink("B", (dir.path() / "link").c_str()), 0);
}

TEST(ReachTest, SubFoldersInPathOrderAndSeveralExtensions) {
  struct Case {
    std::vector<std::string> options;
    std::string out;  // the folder's path as %
  };
  const Case cases[] = {
      {{"--recursive", "--ext", "htm,html"},
       "Haven't start: c/d/none.htm\nOutput: %/Export1.htm\n"
       "6 checked, 1 didn't find.\n"},
      {{"--recursive", "--ext", "html,htm", "--separate"},
       "Haven't start: c/d/none.htm\nOutput: %/Export1\n"
       "6 checked, 1 didn't find.\n"},
      {{"--recursive"},
       "Haven't start: c/d/none.htm\nOutput: %/Export1.htm\n"
       "5 checked, 1 didn't find.\n"},
      {{"--ext", "HTML,htm"},
       "Output: %/Export1.HTML\n2 checked, 0 didn't find.\n"},
  };
  for (const Case& c : cases) {
    TempFolder dir;
    MakeTree(dir);
    std::vector<std::string> args = c.options;
    args.push_back("--start=[");
    args.push_back("--end=]");
    args.push_back(dir.path().string());
    const auto run = RunCli(args);
    std::string out = c.out;
    for (std::size_t at; (at = out.find('%')) != std::string::npos;) {
      out.replace(at, 1, dir.path().string());
    }
    const std::string shown = ::testing::PrintToString(c.options);
    EXPECT_EQ(run.out, out) << shown;
    if (c.options.back() == "--separate") {
      // The output folder mirrors the tree, each piece in its own file.
      for (const auto& [file, piece] : {std::pair{"a.htm", "a"},
                                        {"B/a.htm", "B/a"},
                                        {"b.htm", "b"},
                                        {"bad\xFF/x.htm", "bad/x"},
                                        {"c/d/e.HTML", "c/d/e"}}) {
        EXPECT_EQ(dir.read(std::string("Export1/") + file), piece) << file;
      }
      EXPECT_EQ(
          dir.list("Export1"),
          (std::vector<std::string>{"B", "a.htm", "b.htm", "bad\xFF", "c"}));
    }
  }
  // The order of the collected pieces: path by path, case ignored.
  TempFolder dir;
  MakeTree(dir);
  RunCli({"--recursive", "--ext", "htm,html", "--start=[", "--end=]",
          dir.path().string()});
  EXPECT_EQ(dir.read("Export1.htm"), "aB/abbad/xc/d/e");
}

// A file that cannot be read ends the run through the trap; with
// --keep-going it is logged with its reason, the run goes on, and the exit
// status tells that a file was passed over.
TEST(ReachTest, KeepGoingPassesOverAnUnreadableFile) {
  const struct {
    std::vector<std::string> options;
    std::string out;  // the folder's path as %
    const char* output;
    const char* collected;
  } cases[] = {
      {{},
       "Unknown error occurred:\ncannot read %/b.htm: Input/output error\n"
       "Output: %/Export1.htm\n",
       "Export1.htm",
       "a"},
      {{"--keep-going"},
       "Can't open: b.htm: Input/output error\nOutput: %/Export1.htm\n"
       "3 checked, 1 didn't find.\n",
       "Export1.htm",
       "ac"},
      {{"--keep-going", "--json", "--ext", "HTM"},
       R"({"type":"file","file":"a.htm","result":"extracted","length":1,"line":1}
{"type":"file","file":"b.htm","result":"unreadable","reason":"Input/output error"}
{"type":"file","file":"c.htm","result":"extracted","length":1,"line":1}
{"type":"summary","summary":"3 checked, 1 didn't find.","checked":3,"failed":1,"extracted":2,"charset":"windows-1256","output":"%/Export1.HTM","dry_run":false,"end":"completed","error":null}
)",
       "Export1.HTM",
       "ac"},
  };
  for (const auto& c : cases) {
    TempFolder dir;
    dir.create("a.htm", "[a]");
    // Unreadable whoever runs the test: a link to the reading process's own
    // memory, whose first page is never mapped (read fails with EIO).
    ASSERT_EQ(::symlink("/proc/self/mem", (dir.path() / "b.htm").c_str()), 0);
    dir.create("c.htm", "[c]");
    std::vector<std::string> args = c.options;
    args.insert(args.end(), {"--start=[", "--end=]", dir.path().string()});
    const auto run = RunCli(args);
    std::string out = c.out;
    for (std::size_t at; (at = out.find('%')) != std::string::npos;) {
      out.replace(at, 1, dir.path().string());
    }
    EXPECT_EQ(run.out, out) << ::testing::PrintToString(c.options);
    EXPECT_EQ(run.status, 2) << ::testing::PrintToString(c.options);
    EXPECT_EQ(dir.read(c.output), c.collected);
  }
}

// A pattern that runs away on a large page ends the run there, naming the
// page, and leaves the pieces before it whole.
TEST(ReachTest, ARunawayPatternEndsTheRunThroughTheTrap) {
  TempFolder dir;
  dir.create("a.htm", "abXc");
  dir.create("big.htm", std::string(200000, 'a'));
  const auto run = RunCli(
      {"--regex", "--start", "(a+)+b", "--end", "c", dir.path().string()});
  EXPECT_EQ(run.out,
            "Unknown error occurred:\nthe start pattern took too long on " +
                dir.path().string() +
                "/big.htm\nOutput: " + dir.path().string() + "/Export1.htm\n");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(dir.read("Export1.htm"), "X");
}

}  // namespace
}  // namespace vantrel
