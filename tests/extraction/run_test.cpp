// A whole run through the recording window: inputs, log, summary, bar,
// pointer and the output files, byte for byte.
#include "extraction/run.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <limits>

#include "extraction/sys/operation_seam.h"
#include "tests/support/fault_plan.h"
#include "tests/support/pages.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace vantrel {
namespace {

using testing::Page;
using testing::RecordingWindow;
using testing::TempFolder;

// The transcript of a run's start, before its first file.
constexpr std::string_view kRunStart =
    "Line2.X2 = 130\n"
    "Label6 = \"\"\n"
    "Text5 = \"\"\n"
    "pointer busy\n";

std::string Summary(std::string_view text) {
  return "Label6 = \"" + std::string(text) +
         "\"\n"
         "Line2.X2 = 3400\n"
         "pointer default\n";
}

std::string Success(int x2) {
  return "Line2.X2 = " + std::to_string(x2) +
         "\n"
         "redraw Line2\n"
         "redraw Text5\n";
}

class RunTest : public ::testing::Test {
 protected:
  void SetUp() override { window.inputs.folder = dir.text(); }
  void TearDown() override { testing::ClearFault(); }

  RunResult Run() { return Command2_Click(window, state); }

  TempFolder dir;
  RecordingWindow window;
  RunState state;
};

TEST_F(RunTest, InputChecksLogTheFirstFailingOneAndEndNormally) {
  struct Case {
    std::u16string folder;
    std::u16string extension;
    std::string line;
  };
  const Case cases[] = {
      {u"", u"htm", "Didn't find files' path."},
      {u"", u"", "Didn't find files' path."},
      {u"/", u"", "Didn't find extension."},
      {u"/no/such/folder", u"htm", "Didn't find choosed folder."},
  };
  for (const Case& c : cases) {
    RecordingWindow window;
    window.inputs.folder = c.folder;
    window.inputs.extension = c.extension;
    const RunResult result = Command2_Click(window, state);
    EXPECT_EQ(window.transcript, std::string(kRunStart) + "Text5 += \"" +
                                     c.line + "\\r\\n\"\n" +
                                     Summary("0 checked, 0 didn't find."))
        << c.line;
    EXPECT_EQ(result.end, RunResult::End::kInputRejected);
  }
}

TEST_F(RunTest, ThreeSuccessesMoveTheBarAndCollectThePiecesInNameOrder) {
  dir.create("b.htm", std::string(testing::kUtf8Signature) + Page("two\r\n"));
  dir.create("A.htm", std::string(testing::kUtf8Signature) + Page("one\r\n"));
  dir.create("c.htm",
             std::string(testing::kUtf8Signature) + Page("thr\u00e9e"));

  const RunResult result = Run();

  EXPECT_EQ(window.transcript, std::string(kRunStart) + Success(1220) +
                                   Success(2310) + Success(3400) +
                                   Summary("3 checked, 0 didn't find."));
  EXPECT_EQ(result.end, RunResult::End::kNormal);
  EXPECT_EQ(dir.read("Export1.htm"), std::string(testing::kUtf16LeSignature) +
                                         testing::Utf16Le("one\r\ntwo\r\nthr") +
                                         std::string("\xE9\0", 2) +
                                         testing::Utf16Le("e"));
  EXPECT_EQ(state.OutFile, dir.text() + u"/Export1.htm");
  EXPECT_EQ(state.SourceCharset, u"utf-8");
}

TEST_F(RunTest, FilesWithoutAPieceAreCountedAndLoggedByName) {
  dir.create("1-good.htm", Page("x"));
  dir.create("2-empty.htm", "");
  dir.create("3-nostart.htm", "no markers here");
  dir.create("4-noend.htm", "<Div id=\"E23\">\r\n   <p class=Matn>\r\nbody");
  for (const char* name : {"5.htm", "6.htm", "7.htm", "8.htm"}) {
    dir.create(name, "");
  }

  const RunResult result = Run();

  EXPECT_EQ(window.transcript,
            std::string(kRunStart) + Success(538) +
                "Text5 += \"Can't read: 2-empty.htm\\r\\n\"\n"
                "Text5 += \"Haven't start: 3-nostart.htm\\r\\n\"\n"
                "Text5 += \"Haven't end: 4-noend.htm\\r\\n\"\n"
                "Text5 += \"Can't read: 5.htm\\r\\n\"\n"
                "Text5 += \"Can't read: 6.htm\\r\\n\"\n"
                "Text5 += \"Can't read: 7.htm\\r\\n\"\n"
                "Text5 += \"Can't read: 8.htm\\r\\n\"\n" +
                Summary("8 checked, 7 didn't find."));
  EXPECT_EQ(result.failures, 7);
  EXPECT_EQ(result.successes, 1);
}

TEST_F(RunTest, ExtensionIsCompareWithoutLetterCaseBehindTheLastDot) {
  for (const char* name : {"a.htm", "B.Htm", "c.html", "noext", "x.tar.gz",
                           "d.", ".htm", "b.\u03C3\u03C3"}) {
    dir.create(name, Page("x"));
  }
  dir.create("sub/e.htm", Page("x"));
  ASSERT_EQ(::mkdir((dir.path() / "folder.htm").c_str(), 0755), 0);

  struct Case {
    std::u16string extension;
    std::u16string summary;
  };
  const Case cases[] = {
      {u"HTM", u"3 checked, 0 didn't find."},  // a.htm, B.Htm, .htm
      {u".htm", u"0 checked, 0 didn't find."},
      {u"gz", u"1 checked, 0 didn't find."},
      {u"tar.gz", u"0 checked, 0 didn't find."},
      {u"\u03A3\u03A3", u"1 checked, 0 didn't find."},  // b.σσ
  };
  for (const Case& c : cases) {
    RecordingWindow window;
    window.inputs.folder = dir.text();
    window.inputs.extension = c.extension;
    Command2_Click(window, state);
    EXPECT_EQ(window.summary, c.summary) << window.transcript;
  }
}

TEST_F(RunTest, OnlyRegularFilesAndLinksToThemAreSources) {
  dir.create("a.htm", Page("a"));
  ASSERT_EQ(::mkfifo((dir.path() / "fifo.htm").c_str(), 0644), 0);
  ASSERT_EQ(::symlink("a.htm", (dir.path() / "link.htm").c_str()), 0);
  ASSERT_EQ(::symlink("missing", (dir.path() / "broken.htm").c_str()), 0);
  dir.create("sub/inner.htm", Page("inner"));
  ASSERT_EQ(::symlink("sub", (dir.path() / "sub.htm").c_str()), 0);

  Run();

  EXPECT_EQ(window.summary, u"2 checked, 0 didn't find.");
  EXPECT_EQ(dir.read("Export1.htm"), "aa");
}

TEST_F(RunTest, CharsetIsDetectedOnceOnTheFirstFileAndDecidesTheOutput) {
  // 1.htm is UTF-16LE: every later file is read as UTF-16LE too, so the
  // windows-1256 page after it holds no start marker.
  dir.create("1.htm", std::string(testing::kUtf16LeSignature) +
                          testing::Utf16Le(Page("one")));
  dir.create("2.htm", Page("two"));

  Run();

  EXPECT_EQ(state.SourceCharset, u"unicode");
  EXPECT_EQ(window.log, u"Haven't start: 2.htm\r\n");
  EXPECT_EQ(dir.read("Export1.htm"),
            std::string(testing::kUtf16LeSignature) + testing::Utf16Le("one"));
}

TEST_F(RunTest, ASecondRunStartsAfreshWithANewOutput) {
  dir.create("a.htm", Page("a"));
  dir.create("b.htm", "");
  Run();
  window.transcript.clear();

  Run();

  // The first run's Export1.htm is now a source like any other.
  EXPECT_EQ(window.transcript,
            std::string(kRunStart) + Success(1220) +
                "Text5 += \"Can't read: b.htm\\r\\n\"\n" +
                "Text5 += \"Haven't start: Export1.htm\\r\\n\"\n" +
                Summary("3 checked, 2 didn't find."));
  EXPECT_EQ(dir.read("Export2.htm"), "a");
  EXPECT_EQ(dir.read("Export1.htm"), "a");
}

TEST_F(RunTest, SeparatedModeWritesOneFilePerSourceInANewFolder) {
  dir.create("a.htm", std::string(testing::kUtf8Signature) + Page("A"));
  dir.create("b.htm", std::string(testing::kUtf8Signature) + Page("B"));
  ASSERT_EQ(::mkdir((dir.path() / "Export1").c_str(), 0755), 0);
  window.inputs.separate = true;

  Run();

  EXPECT_EQ(state.OutFolder, dir.text() + u"/Export2");
  EXPECT_EQ(dir.list("Export2"), (std::vector<std::string>{"a.htm", "b.htm"}));
  EXPECT_EQ(dir.read("Export2/b.htm"),
            std::string(testing::kUtf16LeSignature) + testing::Utf16Le("B"));
  EXPECT_TRUE(dir.list("Export1").empty());
}

TEST_F(RunTest, NamesAreShownSafelyButUsedExactly) {
  dir.create("bad\xFF.htm", Page("raw"));
  dir.create("line\nbreak.htm", "");
  dir.create("esc\x1b[31m.htm", "");
  window.inputs.separate = true;

  Run();

  EXPECT_EQ(window.log,
            u"Can't read: esc\uFFFD[31m.htm\r\n"
            u"Can't read: line\uFFFDbreak.htm\r\n");
  EXPECT_EQ(dir.read("Export1/bad\xFF.htm"), "raw");
}

TEST_F(RunTest, ErrorTrapLogsTheFailureAndLeavesTheBarWhereItStood) {
  dir.create("a.htm", Page("a"));
  dir.create("b.htm", Page("b"));
  dir.create("c.htm", Page("c"));
  testing::InjectFaultOn(fs::Operation::kOpen, dir.path() / "b.htm", 1, EACCES);

  const RunResult result = Run();

  EXPECT_EQ(window.transcript,
            std::string(kRunStart) + Success(1220) +
                "Text5 += \"Unknown error occurred:\\r\\ncannot open " +
                dir.path().string() +
                "/b.htm: Permission denied\\r\\n\"\n"
                "pointer default\n");
  EXPECT_EQ(result.end, RunResult::End::kErrorTrap);
  EXPECT_EQ(window.summary, u"");
  EXPECT_EQ(dir.read("Export1.htm"), "a");
}

TEST(ProgressTest, BarPositions) {
  struct Case {
    std::int64_t successes, matching;
    int x2;
  };
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  const Case cases[] = {
      {1, 3, 1220},         {2, 3, 2310},    {3, 3, 3400},
      {1, 8, 538},          {0, 5, 130},     {1, 16, 334},
      {32767, 32767, 3400}, {1, 32767, 130}, {kMax / 4, kMax / 2, 1765},
      {kMax, kMax, 3400},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ProgressX2(c.successes, c.matching), c.x2)
        << c.successes << " of " << c.matching;
  }
  EXPECT_THROW(
      {
        try {
          ProgressX2(1, 0);
        } catch (const std::exception& e) {
          EXPECT_STREQ(e.what(), "Division by zero");
          throw;
        }
      },
      std::exception);
}

}  // namespace
}  // namespace vantrel
