// vantrel-cli --files-from: exactly the listed files, in the list's order,
// whatever their names, with the output in --out.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/cli/cli_process.h"
#include "tests/cli/json_lines.h"
#include "tests/support/pages.h"
#include "tests/support/temp_folder.h"

namespace vantrel {
namespace {

using testing::JsonLines;
using testing::Outcome;
using testing::Page;
using testing::RunCli;
using testing::Stdout;
using testing::TempFolder;

// The pieces of a --jsonl output, in its order.
std::vector<std::string> Pieces(const std::string& jsonl) {
  std::vector<std::string> pieces;
  for (const auto& line : JsonLines(jsonl)) pieces.push_back(line["piece"]);
  return pieces;
}

// Odd names, given by file and by standard input, one a line and ended by
// NUL: each file is read once per listing, in the list's order, named by
// its path as given (a relative one from the working folder).
TEST(FilesFromTest, ReadsTheListedFilesInTheirOrderWhateverTheirNames) {
  TempFolder dir;
  const auto space = dir.create("in/with space.htm", Page("space"));
  const auto latin1 = dir.create("in/\xE9t\xE9.htm", Page("latin1"));
  const auto deep = dir.create("in/sub/z.html", Page("deep"));
  const auto line_break = dir.create("in/two\nlines.htm", Page("break"));
  dir.create("in/not-listed.htm", Page("never"));
  const std::string relative =
      std::filesystem::relative(deep, std::filesystem::current_path()).string();

  struct Case {
    bool null;
    bool from_stdin;
  };
  for (const Case c : {Case{false, false}, Case{false, true}, Case{true, false},
                       Case{true, true}}) {
    const std::string end = c.null ? std::string(1, '\0') : "\n";
    std::vector<std::string> paths{relative, latin1.string(), "",
                                   space.string(), latin1.string()};
    std::vector<std::string> expected{"deep", "latin1", "space", "latin1"};
    if (c.null) {
      paths.push_back(line_break.string());
      expected.push_back("break");
    }
    std::string list;
    for (const std::string& path : paths) list += path + end;
    const std::string name = c.null ? "list0" : "list";
    const std::string list_file = dir.create(name, list).string();
    const std::string out_name =
        "out-" + name + (c.from_stdin ? "-stdin" : "-file");
    const std::string out = (dir.path() / out_name).string();
    std::filesystem::create_directory(out);

    std::vector<std::string> args{
        "--json", "--jsonl",      "--out",
        out,      "--files-from", c.from_stdin ? "-" : list_file};
    if (c.null) args.push_back("--null");
    const Outcome run =
        RunCli(args, Stdout::kPipe, c.from_stdin ? list_file : std::string());
    const std::string shown = name + (c.from_stdin ? " on stdin" : "");
    ASSERT_EQ(run.status, 0) << shown << run.out << run.err;
    EXPECT_EQ(Pieces(dir.read(out_name + "/Export1.jsonl")), expected) << shown;
    const auto lines = JsonLines(run.out);
    ASSERT_EQ(lines.size(), expected.size() + 1) << shown;
    EXPECT_EQ(lines[0]["file"], relative) << shown;
    // Not UTF-8: shown with U+FFFD, its bytes in hex.
    EXPECT_EQ(lines[1]["file_bytes"].get<std::string>().substr(
                  lines[1]["file_bytes"].get<std::string>().size() - 14),
              "e974e92e68746d")
        << shown;
    EXPECT_EQ(lines[2]["file"], space.string()) << shown;
  }
}

// A listed path that is missing or a folder is a file that cannot be read:
// it ends the run, or with --keep-going gets its line and exit status 2.
TEST(FilesFromTest, MissingOrFolderPathsAreFilesThatCannotBeRead) {
  TempFolder dir;
  const std::string page = dir.create("a.htm", Page("x")).string();
  const std::string missing = (dir.path() / "gone.htm").string();
  const std::string folder = dir.path().string();
  const std::string list =
      dir.create("list", missing + "\n" + folder + "\n" + page + "\n").string();
  std::filesystem::create_directory(dir.path() / "out");
  const std::string out = (dir.path() / "out").string();

  const Outcome stopped = RunCli({"--out", out, "--files-from", list});
  EXPECT_EQ(stopped.status, 2);
  EXPECT_EQ(stopped.out, "Unknown error occurred:\ncannot open " + missing +
                             ": No such file or directory\n");

  const Outcome kept =
      RunCli({"--keep-going", "--out", out, "--files-from", list});
  EXPECT_EQ(kept.status, 2);
  EXPECT_EQ(kept.out, "Can't open: " + missing +
                          ": No such file or directory\n"
                          "Can't open: " +
                          folder + ": Is a directory\nOutput: " + out +
                          "/Export1.htm\n3 checked, 2 didn't find.\n");
  EXPECT_EQ(dir.read("out/Export1.htm"), "x");

  if (::geteuid() != 0) {  // root reads what it likes
    ::chmod(page.c_str(), 0);
    const Outcome unreadable =
        RunCli({"--keep-going", "--out", out, "--files-from", list});
    EXPECT_NE(
        unreadable.out.find("Can't open: " + page + ": Permission denied\n"),
        std::string::npos)
        << unreadable.out;
    EXPECT_EQ(unreadable.status, 2);
  }

  const std::string empty = dir.create("empty", "\n\n").string();
  const Outcome none = RunCli({"--out", out, "--files-from", empty});
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.out, "0 checked, 0 didn't find.\n");
  EXPECT_EQ(none.err,
            "vantrel-cli: --files-from " + empty + " names no file\n");
}

// --out takes the output of any run; with --separate, listed files get
// names of their own inside ExportN however their paths run, and with
// --text each is a .txt; a dry run names what it would make.
TEST(FilesFromTest, OutputGoesIntoOutUnderNamesThatStayInside) {
  TempFolder dir;
  const auto a = dir.create("a/page.html", Page("one"));
  const auto b = dir.create("b/PAGE.html", Page("two"));
  dir.create("scan/c.htm", Page("three"));
  std::filesystem::create_directories(dir.path() / "out/x");
  const std::string out = (dir.path() / "out").string();
  // Through "..": the last part alone names the output.
  const std::string climbing =
      (dir.path() / "out/x/../../a/page.html").string();
  const std::string list =
      dir.create("list", a.string() + "\n" + b.string() + "\n" + climbing)
          .string();

  EXPECT_EQ(RunCli({"--out", out, "--separate", "--files-from", list}).status,
            0);
  EXPECT_EQ(dir.read("out/Export1/page.html"), "one");
  EXPECT_EQ(dir.read("out/Export1/PAGE (2).html"), "two");
  EXPECT_EQ(dir.read("out/Export1/page (3).html"), "one");

  EXPECT_EQ(RunCli({"--out", out, "--separate", "--text", "--files-from", list})
                .status,
            0);
  EXPECT_EQ(dir.read("out/Export2/page.txt"), "one");
  EXPECT_EQ(dir.read("out/Export2/PAGE (2).txt"), "two");
  EXPECT_EQ(dir.read("out/Export2/page (3).txt"), "one");

  // The collected file takes the first listed file's extension.
  const Outcome dry = RunCli({"--dry-run", "--out", out, "--files-from", list});
  EXPECT_EQ(dry.out, "Output: " + out +
                         "/Export1.html (dry run: nothing written)\n3 "
                         "checked, 0 didn't find.\n");
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "out/Export1.html"));

  // A folder's run makes its output in --out too, not in the folder.
  EXPECT_EQ(RunCli({"--out", out, (dir.path() / "scan").string()}).status, 0);
  EXPECT_EQ(dir.read("out/Export1.htm"), "three");
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "scan/Export1.htm"));
}

// A suggestion reads the listed files as a run would, and its command line
// names the list again, with the working folder for the output.
TEST(FilesFromTest, SuggestionReadsTheListAndNamesItInItsCommand) {
  TempFolder dir;
  std::string list;
  for (const char* n : {"1", "2", "3"}) {
    list += dir.create(std::string("p") + n + ".html",
                       std::string("<html><nav>menu</nav><main><p>Body ") + n +
                           " of its own</p></main></html>")
                .string() +
            '\0';
  }
  dir.create("q.html", "<html><main><p>Body of a file not listed</p></main>");
  const std::string list_file = dir.create("list", list).string();
  const Outcome run = RunCli({"--suggest", "--files-from", list_file, "--null",
                              "--around", "Body 2 of its own"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("--files-from " + list_file + " --null --out .\n"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("gives a piece on 3 of 3 files"), std::string::npos)
      << run.out;
}

}  // namespace
}  // namespace vantrel
