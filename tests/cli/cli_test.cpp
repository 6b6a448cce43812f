// vantrel-cli run as a program in fresh folders: its whole standard output
// and its exit status.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/cli/cli_process.h"
#include "tests/support/pages.h"
#include "tests/support/temp_folder.h"
#include "vantrel_version.h"

namespace vantrel {
namespace {

using testing::CliProcess;
using testing::Outcome;
using testing::Page;
using testing::RunCli;
using testing::Stdout;
using testing::TempFolder;

TEST(CliTest, PrintsTheLogTheOutputAndTheSummary) {
  TempFolder dir;
  dir.create("a.htm", std::string(testing::kUtf8Signature) + Page("one\r\n"));
  dir.create("b.htm", "no markers");
  dir.create("c.txt", Page("other extension"));
  const std::string folder = dir.path().string();

  const Outcome run = RunCli({folder});

  EXPECT_EQ(run.out,
            "Haven't start: b.htm\n"
            "Output: " +
                folder +
                "/Export1.htm\n"
                "2 checked, 1 didn't find.\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "");  // no progress bar: standard error is no terminal
  EXPECT_EQ(dir.read("Export1.htm"), std::string(testing::kUtf16LeSignature) +
                                         testing::Utf16Le("one\r\n"));
}

TEST(CliTest, OptionsTakeTheWindowsPlace) {
  TempFolder dir;
  dir.create("a.TXT", "x[one]y");
  dir.create("b.txt", "x[two]y");
  dir.create("start", "[");
  const std::string folder = dir.path().string();

  const Outcome run =
      RunCli({"--start-file", (dir.path() / "start").string(), "--end", "]",
              "--ext", "txt", "--separate", "--quiet", folder});

  EXPECT_EQ(run.out, "Output: " + folder +
                         "/Export1\n"
                         "2 checked, 0 didn't find.\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(dir.read("Export1/a.TXT"), "one");
  EXPECT_EQ(dir.read("Export1/b.txt"), "two");
}

// Only an option not given at all takes the default marker: an empty one
// matches at the first character of the text.
TEST(CliTest, AnEmptyMarkerIsAMarker) {
  struct Case {
    std::vector<std::string> markers;
    std::string piece;
  };
  const Case cases[] = {
      {{"--start", "", "--end", "]"}, "abc"},
      {{"--start", "]", "--end", ""}, ""},
  };
  for (const Case& c : cases) {
    TempFolder dir;
    dir.create("a.htm", "abc]def]");
    std::vector<std::string> args = c.markers;
    args.push_back(dir.path().string());
    const Outcome run = RunCli(args);
    EXPECT_EQ(run.out, "Output: " + dir.path().string() +
                           "/Export1.htm\n1 checked, 0 didn't find.\n")
        << ::testing::PrintToString(c.markers);
    EXPECT_EQ(dir.read("Export1.htm"), c.piece);
  }
}

// The search for a free output name goes on past any 16-bit number.
TEST(CliRegression, OutputNameSearchGoesPastExport32767) {
  TempFolder dir;
  for (int n = 1; n <= 32767; ++n) {
    std::filesystem::create_directory(dir.path() /
                                      ("Export" + std::to_string(n)));
  }
  dir.create("a.htm", Page("x"));
  const Outcome run = RunCli({"--separate", dir.path().string()});
  EXPECT_EQ(run.out, "Output: " + dir.path().string() +
                         "/Export32768\n1 checked, 0 didn't find.\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(dir.read("Export32768/a.htm"), "x");
}

// A report that cannot be written does not cut the run short: every piece
// is written, and the loss is told on standard error with status 2.
TEST(CliRegression, LostReportIsAnErrorButTheOutputIsWhole) {
  for (const Stdout stdout_to : {Stdout::kFull, Stdout::kClosedPipe}) {
    TempFolder dir;
    std::string pieces;
    for (int i = 0; i < 20; ++i) {
      const std::string piece = "piece " + std::to_string(i) + "\r\n";
      dir.create("page" + std::to_string(100 + i) + ".htm",
                 i % 2 ? "no markers" : Page(piece));
      if (i % 2 == 0) pieces += piece;
    }
    const Outcome run = RunCli({dir.path().string()}, stdout_to);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err,
              std::string("vantrel-cli: cannot write standard output: ") +
                  (stdout_to == Stdout::kFull ? "No space left on device"
                                              : "Broken pipe") +
                  "\n");
    EXPECT_EQ(dir.read("Export1.htm"), pieces);
  }
}

// Text files of sources that would get one name are named apart before
// anything is written, and the dry run tells the same run.
TEST(CliRegression, TextFilesThatWouldShareANameAreNamedApart) {
  TempFolder dir;
  dir.create("x.htm", Page("<p>one"));
  dir.create("x.html", Page("<p>two"));
  dir.create("x.htm.html", Page("<p>three"));
  const std::string folder = dir.path().string();
  const std::vector<std::string> args = {"--text", "--separate", "--ext",
                                         "htm,html", folder};
  std::vector<std::string> dry_args = args;
  dry_args.insert(dry_args.begin(), "--dry-run");

  const Outcome dry = RunCli(dry_args);
  EXPECT_EQ(dry.status, 0) << dry.out;
  EXPECT_EQ(dir.list(),
            (std::vector<std::string>{"x.htm", "x.htm.html", "x.html"}));
  const Outcome run = RunCli(args);
  EXPECT_EQ(run.out, "Output: " + folder +
                         "/Export1\n"
                         "3 checked, 0 didn't find.\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(dir.read("Export1/x.htm.txt"), "one");
  EXPECT_EQ(dir.read("Export1/x.html.txt"), "two");
  EXPECT_EQ(dir.read("Export1/x.htm (2).txt"), "three");
}

TEST(CliTest, ExitStatusTellsHowTheRunEnded) {
  TempFolder dir;
  dir.create("Export1", "a plain file where the output folder would go");
  dir.create("a.htm", Page("x"));
  const std::string folder = dir.path().string();
  const std::string list = dir.create("list", "a.htm\n").string();
  const std::string dry_run_output =
      "Output: " + folder + "/Export1.htm (dry run: nothing written)\n";

  struct Case {
    std::vector<std::string> args;
    std::string out;
    int status;
    std::string err = {};  // what standard error holds, where it matters
  };
  const Case cases[] = {
      {{""}, "Didn't find files' path.\n0 checked, 0 didn't find.\n", 1},
      {{"--ext", "", ""},  // the folder is checked first
       "Didn't find files' path.\n0 checked, 0 didn't find.\n",
       1},
      {{"--ext", "", folder},
       "Didn't find extension.\n0 checked, 0 didn't find.\n",
       1},
      {{folder + "/missing"},
       "Didn't find choosed folder.\n0 checked, 0 didn't find.\n",
       1},
      // A run that read no file is no success, and says why.
      {{"--ext", "thml", folder},
       "0 checked, 0 didn't find.\n",
       1,
       "vantrel-cli: no file in " + folder + " has the extension thml\n"},
      {{"--recursive", "--ext", ".htm,html", folder},
       "0 checked, 0 didn't find.\n",
       1,
       "vantrel-cli: no file in " + folder +
           " or below it has the extensions .htm or html; --ext takes "
           "extensions without their dot: --ext htm,html\n"},
      {{"--dry-run", "--ext", " htm , thml", "--charset", "UTF-8", folder},
       dry_run_output + "1 checked, 0 didn't find.\n",
       0},
      {{"--separate", folder},
       "Unknown error occurred:\ncannot create folder " + folder +
           "/Export1: File exists\n",
       2},
      {{"--start", "\xFF", folder}, "", 64},
      {{"--start", "a", "--start-file", "f", folder}, "", 64},
      {{"--end-file", folder + "/missing", folder},
       "",
       64,
       "vantrel-cli: --end-file: cannot read " + folder +
           "/missing: No such file or directory\n"
           "Run with --help for more information.\n"},
      {{"--start-file", "", folder}, "", 64},
      {{"--regex", "--start", "<div (class", folder}, "", 64},
      {{"--regex", "--line-breaks", "any", folder}, "", 64},
      {{"--ext", "htm,,html", folder}, "", 64},
      {{"--jsonl", "--out-charset", "UTF-16LE", folder},
       "",
       64,
       "vantrel-cli: --out-charset utf-16le does not go with --jsonl, which "
       "writes utf-8\nRun with --help for more information.\n"},
      {{"--bogus", folder}, "", 64},
      {{}, "", 64},
      // FOLDER's absence comes before what is left over, as it always did.
      {{"--bogus"},
       "",
       64,
       "vantrel-cli: FOLDER is required\nRun with --help for more "
       "information.\n"},
      // A list of files stands for FOLDER, --ext and --recursive, and its
      // run needs a folder for its output.
      {{"--files-from", list},
       "",
       64,
       "vantrel-cli: --files-from needs --out, the folder to make the output "
       "in\nRun with --help for more information.\n"},
      {{"--files-from", list, "--out", folder, folder},
       "",
       64,
       "vantrel-cli: FOLDER does not go with --files-from, which names the "
       "files itself\nRun with --help for more information.\n"},
      {{"--files-from", list, "--out", folder, "--ext", "htm"},
       "",
       64,
       "vantrel-cli: --ext does not go with --files-from, which reads exactly "
       "the files listed\nRun with --help for more information.\n"},
      {{"--files-from", list, "--out", folder, "--recursive"},
       "",
       64,
       "vantrel-cli: --recursive does not go with --files-from, which reads "
       "exactly the files listed\nRun with --help for more information.\n"},
      {{"--files-from", folder + "/missing", "--out", folder},
       "",
       64,
       "vantrel-cli: --files-from: cannot read " + folder +
           "/missing: No such file or directory\n"
           "Run with --help for more information.\n"},
      {{"--null", folder},
       "",
       64,
       "vantrel-cli: --null goes only with --files-from\nRun with --help for "
       "more information.\n"},
      {{"--out", folder + "/missing", folder},
       "",
       64,
       "vantrel-cli: --out " + folder +
           "/missing: no such folder\n"
           "Run with --help for more information.\n"},
      {{"--out", folder + "/a.htm", folder},
       "",
       64,
       "vantrel-cli: --out " + folder +
           "/a.htm: not a folder\n"
           "Run with --help for more information.\n"},
      {{"--suggest", "--out", folder, folder},
       "",
       64,
       "vantrel-cli: --out does not go with --suggest, which writes "
       "nothing\nRun with --help for more information.\n"},
      {{"--version"}, "vantrel-cli " VANTREL_VERSION_DISPLAY "\n", 0},
  };
  for (const Case& c : cases) {
    const Outcome run = RunCli(c.args);
    const std::string shown = ::testing::PrintToString(c.args);
    EXPECT_EQ(run.out, c.out) << shown;
    EXPECT_EQ(run.status, c.status) << shown;
    if (!c.err.empty()) {
      EXPECT_EQ(run.err, c.err) << shown;
    } else if (c.status == 64) {
      // Every message, the option parser's own included, says whose it is.
      EXPECT_EQ(run.err.rfind("vantrel-cli: ", 0), 0u) << shown << run.err;
    }
  }
}

TEST(CliTest, FolderNamesThatLookLikeOptions) {
  TempFolder dir;
  dir.create("-rf/a.htm", Page("x"));
  const Outcome run = RunCli({"--quiet", "--", "-rf"});
  // The folder is relative to the test's working folder, so give it whole.
  const Outcome whole =
      RunCli({"--quiet", "--", (dir.path() / "-rf").string()});
  EXPECT_EQ(run.status, 1);  // no such folder here
  EXPECT_EQ(whole.status, 0) << whole.out << whole.err;
  EXPECT_EQ(dir.read("-rf/Export1.htm"), "x");
}

// Runs started together over one folder each get an output of their own,
// whole.
TEST(CliTest, ConcurrentRunsEachGetTheirOwnOutput) {
  for (bool separate : {false, true}) {
    TempFolder dir;
    std::string pieces;
    for (int i = 0; i < 40; ++i) {
      const std::string piece = "piece " + std::to_string(i) + "\r\n";
      dir.create("page" + std::to_string(100 + i) + ".htm", Page(piece));
      pieces += piece;
    }
    std::vector<std::string> args = {"--quiet", dir.path().string()};
    if (separate) args.insert(args.begin(), "--separate");
    std::vector<std::unique_ptr<CliProcess>> runs;
    for (int i = 0; i < 4; ++i)
      runs.push_back(std::make_unique<CliProcess>(args));
    // A run that lists the folder after another one made its collected
    // file reads that file too, finds no markers in it and says so.
    for (auto& run : runs) EXPECT_LE(run->Finish().status, separate ? 0 : 1);
    for (int n = 1; n <= 4; ++n) {
      const std::string name = "Export" + std::to_string(n);
      if (separate) {
        EXPECT_EQ(dir.list(name).size(), 40u) << name;
        EXPECT_EQ(dir.read(name + "/page139.htm"), "piece 39\r\n");
      } else {
        EXPECT_EQ(dir.read(name + ".htm"), pieces) << name;
      }
    }
  }
}

}  // namespace
}  // namespace vantrel
