// A whole run through the recording sink: inputs, events, log, summary,
// the run's record and the output files, byte for byte.
#include "extraction/run.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <future>
#include <string>
#include <thread>

#include "extraction/sys/operation_seam.h"
#include "extraction/text/native_names.h"
#include "tests/support/fault_plan.h"
#include "tests/support/pages.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_folder.h"

namespace vantrel {
namespace {

using namespace std::string_literals;
using testing::Page;
using testing::RecordingSink;
using testing::TempFolder;

constexpr std::string_view kRunStart = "started\n";

std::string Summary(std::string_view text) {
  return "summary \"" + std::string(text) + "\"\nfinished\n";
}

std::string Written(int done, int total) {
  return "piece " + std::to_string(done) + " of " + std::to_string(total) +
         "\n";
}

class RunTest : public ::testing::Test {
 protected:
  void SetUp() override { inputs = testing::StartupInputs(dir.text()); }
  void TearDown() override { testing::ClearFault(); }

  RunResult Run(const RunOptions& options = {}) {
    return RunExtraction(inputs, options, sink);
  }

  TempFolder dir;
  RunInputs inputs;
  RecordingSink sink;
};

TEST_F(RunTest, ThreeSuccessesMoveTheBarAndCollectThePiecesInNameOrder) {
  dir.create("b.htm", std::string(testing::kUtf8Signature) + Page("two\r\n"));
  dir.create("A.htm", std::string(testing::kUtf8Signature) + Page("one\r\n"));
  dir.create("c.htm",
             std::string(testing::kUtf8Signature) + Page("thr\u00e9e"));

  const RunResult result = Run();

  EXPECT_EQ(sink.transcript,
            "started\npiece 1 of 3\npiece 2 of 3\npiece 3 of 3\n"
            "summary \"3 checked, 0 didn't find.\"\nfinished\n");
  EXPECT_EQ(result.end, RunResult::End::kNormal);
  EXPECT_EQ(dir.read("Export1.htm"), std::string(testing::kUtf16LeSignature) +
                                         testing::Utf16Le("one\r\ntwo\r\nthr") +
                                         std::string("\xE9\0", 2) +
                                         testing::Utf16Le("e"));
  EXPECT_EQ(result.state.SourcePath, dir.text());
  EXPECT_EQ(result.state.OutFile, dir.text() + u"/Export1.htm");
  EXPECT_EQ(result.state.SourceCharset, u"utf-8");
  EXPECT_EQ(result.state.OutCharset, u"utf-8");
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
    RecordingSink sink;
    inputs.files.extensions = {c.extension};
    RunExtraction(inputs, {}, sink);
    EXPECT_EQ(sink.summary, c.summary) << sink.transcript;
  }
  // Where web archives are not read (the window), a .warc file is a page
  // like any other, and the collected file takes its extension.
  dir.create("p.warc", Page("x"));
  RecordingSink page_sink;
  inputs.files.extensions = {u"warc"};
  const RunResult result = RunExtraction(inputs, {}, page_sink);
  EXPECT_EQ(result.state.OutFile, dir.text() + u"/Export1.warc");
  // Where web archives are read (vantrel-cli), an extension with a dot
  // inside is matched at the end of the name.
  RecordingSink sink;
  inputs.files.extensions = {u"tar.gz"};
  inputs.files.web_archives = true;
  RunExtraction(inputs, {}, sink);
  EXPECT_EQ(sink.summary, u"1 checked, 0 didn't find.") << sink.transcript;
}

TEST_F(RunTest, CharsetIsDetectedOnceOnTheFirstFileAndDecidesTheOutput) {
  // 1.htm is UTF-16LE: every later file is read as UTF-16LE too, so the
  // windows-1256 page after it holds no start marker.
  dir.create("1.htm", std::string(testing::kUtf16LeSignature) +
                          testing::Utf16Le(Page("one")));
  dir.create("2.htm", Page("two"));

  const RunResult result = Run();

  EXPECT_EQ(result.state.SourceCharset, u"unicode");
  EXPECT_EQ(sink.log, u"Haven't start: 2.htm\r\n");
  EXPECT_EQ(dir.read("Export1.htm"),
            std::string(testing::kUtf16LeSignature) + testing::Utf16Le("one"));
}

// A list of files is read in its order, each file by its own path; the
// first that can be read decides the charset as a folder's first file does,
// a missing one passed over with --keep-going, and the output goes into
// the run's output folder.
TEST_F(RunTest, ListedFilesAreReadInTheirOrderByTheirOwnPaths) {
  const auto utf16 =
      dir.create("x/2.htm", std::string(testing::kUtf16LeSignature) +
                                testing::Utf16Le(Page("two")));
  const auto plain = dir.create("y/1.htm", Page("one"));
  dir.create("out/.keep", "");
  const std::string missing = (dir.path() / "none.htm").string();
  inputs.files.origin =
      FileList{{missing, utf16.string(), plain.string(), utf16.string()}};
  RunOptions options;
  options.keep_going = true;
  options.out_folder = dir.text() + u"/out";

  const RunResult result = Run(options);

  EXPECT_EQ(result.state.SourceCharset, u"unicode");
  EXPECT_EQ(sink.log, u"Can't open: " + NativeToText(missing) +
                          u": No such file or directory\r\n"
                          u"Haven't start: " +
                          NativeToText(plain.string()) + u"\r\n");
  EXPECT_EQ(result.state.OutFile, dir.text() + u"/out/Export1.htm");
  EXPECT_EQ(
      dir.read("out/Export1.htm"),
      std::string(testing::kUtf16LeSignature) + testing::Utf16Le("twotwo"));
  EXPECT_EQ(result.checked, 4);
}

TEST_F(RunTest, SeparatedModeWritesOneFilePerSourceInANewFolder) {
  dir.create("a.htm", std::string(testing::kUtf8Signature) + Page("A"));
  dir.create("b.htm", std::string(testing::kUtf8Signature) + Page("B"));
  ASSERT_EQ(::mkdir((dir.path() / "Export1").c_str(), 0755), 0);
  inputs.separate = true;

  const RunResult result = Run();

  EXPECT_EQ(result.state.OutFolder, dir.text() + u"/Export2");
  EXPECT_EQ(result.state.OutFile, dir.text() + u"/Export2/b.htm");
  EXPECT_EQ(dir.list("Export2"), (std::vector<std::string>{"a.htm", "b.htm"}));
  EXPECT_EQ(dir.read("Export2/b.htm"),
            std::string(testing::kUtf16LeSignature) + testing::Utf16Le("B"));
  EXPECT_TRUE(dir.list("Export1").empty());
}

// A file that appears after the count is read all the same; its piece is a
// share of nothing, which ends the run through the trap.
TEST_F(RunTest, APieceFromAFileThatAppearedAfterTheCountEndsTheRun) {
  testing::BeforeOperation(fs::Operation::kList, 2,
                           [&] { dir.create("a.htm", Page("a")); });

  const RunResult result = Run();

  EXPECT_EQ(result.end, RunResult::End::kErrorTrap);
  EXPECT_EQ(sink.log, u"Unknown error occurred:\r\nDivision by zero\r\n");
  EXPECT_EQ(dir.read("Export1.htm"), "a");
  EXPECT_EQ(result.state.OutFile, dir.text() + u"/Export1.htm");
}

// A transform that needs the text gets every piece decoded, even one that
// could go to a windows-1256 output as its bytes.
TEST_F(RunTest, ATransformSeesEveryPieceAsText) {
  class Upper : public PieceTransform {
   public:
    bool NeedsText() const override { return true; }
    Piece Apply(const Piece& piece, PieceScratch& scratch) const override {
      if (piece.windows1256) return piece;  // left as it was: the test fails
      scratch.text.assign(piece.text);
      for (char16_t& c : scratch.text) {
        if (c >= u'a' && c <= u'z') c = c - u'a' + u'A';
      }
      return Piece(scratch.text);
    }
  } upper;
  dir.create("a.htm", Page("one"));
  dir.create("b.htm", Page("two"));
  RunOptions options;
  options.transform = &upper;

  Run(options);

  EXPECT_EQ(dir.read("Export1.htm"), "ONETWO");
}

// --out-charset: whatever the sources' charset, the output is UTF-8
// without a signature or UTF-16LE with one; a windows-1256 run's pieces
// are decoded for it.
TEST_F(RunTest, TheOutputCharsetIsChosenWhateverTheSources) {
  struct Case {
    const char* source;
    std::string bytes;  // "x[A" + U+0645 + "]y" in the source's charset
  };
  const Case cases[] = {
      {"utf-8", std::string(testing::kUtf8Signature) + "x[A\xD9\x85]y"},
      {"utf-16le", std::string(testing::kUtf16LeSignature) +
                       testing::Utf16Le("x[A") + "\x45\x06" +
                       testing::Utf16Le("]y")},
      {"utf-16be", std::string(testing::kUtf16BeSignature) +
                       testing::Utf16Be("x[A") + "\x06\x45" +
                       testing::Utf16Be("]y")},
      {"windows-1256", "x[A\xE3]y"},
  };
  inputs.start_marker = u"[";
  inputs.end_marker = u"]";
  for (const Case& c : cases) {
    TempFolder folder;
    inputs.files.folder = folder.text();
    folder.create("a.htm", c.bytes);
    RunOptions options;
    options.output.format = OutputFormat::kUtf8;
    Run(options);
    options.output.format = OutputFormat::kUtf16Le;
    Run(options);
    EXPECT_EQ(folder.read("Export1.htm"), "A\xD9\x85") << c.source;
    EXPECT_EQ(folder.read("Export2.htm"),
              "\xFF\xFE"
              "A\0\x45\x06"s)
        << c.source;
  }
}

// --text: the collected ExportN.txt, UTF-8 (or UTF-16LE when chosen),
// holds each piece's text with a blank line between two; a separate file is
// named .txt instead of the source's extension, unless two sources would
// share the name.
TEST_F(RunTest, TextPiecesAndTheirFileNames) {
  inputs.files.extensions.push_back(u"html");
  dir.create("a.htm", Page("<b>A</b>&amp;<br>a"));
  dir.create("A.html", Page("<script>x</script>B"));
  dir.create("b.htm", Page("<li>C"));
  RunOptions options;
  options.transform = &PlainTextTransform();

  options.dry_run = true;
  EXPECT_EQ(Run(options).output, dir.text() + u"/Export1.txt");
  options.dry_run = false;
  Run(options);
  // Read as UTF-8, the pieces go to the converter and from it as UTF-8
  // bytes, and are decoded for a UTF-16LE output.
  inputs.files.charset = Charset::kUtf8;
  options.output.format = OutputFormat::kUtf16Le;
  Run(options);
  inputs.files.charset = CharsetOfFirstFile{};
  options.output.format.reset();
  inputs.separate = true;
  Run(options);

  EXPECT_EQ(dir.read("Export1.txt"), "A&\na\n\nB\n\n- C");
  EXPECT_EQ(dir.read("Export2.txt"), std::string(testing::kUtf16LeSignature) +
                                         testing::Utf16Le("A&\na\n\nB\n\n- C"));
  EXPECT_EQ(dir.list("Export1"),
            (std::vector<std::string>{"A.html.txt", "a.htm.txt", "b.txt"}));
  EXPECT_EQ(dir.read("Export1/b.txt"), "- C");
}

// An empty piece, or one whose text ends in a line break, still leaves
// exactly one blank line between two texts of the collected file.
TEST_F(RunTest, TextPiecesSetOffByOneBlankLine) {
  dir.create("1.htm", Page(""));
  dir.create("2.htm", Page("<pre>a\n\n</pre>"));
  dir.create("3.htm", Page("<script>x</script>"));
  dir.create("4.htm", Page("<pre>\n\nb</pre>"));
  dir.create("5.htm", Page(""));
  RunOptions options;
  options.transform = &PlainTextTransform();
  Run(options);
  EXPECT_EQ(dir.read("Export1.txt"), "a\n\nb");
}

// Whether the start marker ended inside a tag is read from the source, in
// every charset a source is cut in: a piece that begins after its tag
// keeps all of its text, one that begins inside drops the tag's rest.
TEST_F(RunTest, TextOfAPieceTheStartMarkerCutATagFor) {
  struct Case {
    const char* start;
    const char* end;
    const char* page;
    const char* text;
  };
  const Case cases[] = {
      {"<td>", "</td>", "<table><tr><td>x>0 holds</td></table>", "x>0 holds"},
      {"<td>", "</td>", "<table><tr><td>->arrow</td></table>", "->arrow"},
      {"<p>", "</p>", "<p>Tom said \"hi\"> there</p>",
       "Tom said \"hi\"> there"},
      {"<div id=\"main\"", "</div>",
       "<div id=\"main\" data-x=\"1>2\"><b>text</b></div>", "text"},
  };
  const std::pair<const char*, CharsetPolicy> charsets[] = {
      {"", CharsetOfFirstFile{}},              // windows-1256, cut in its bytes
      {"\xEF\xBB\xBF", CharsetOfFirstFile{}},  // UTF-8, cut in its bytes
      {"", Charset::kUtf16Le},                 // read as text
  };
  for (const auto& [signature, charset] : charsets) {
    for (const Case& c : cases) {
      TempFolder folder;
      inputs.files.folder = folder.text();
      inputs.files.charset = charset;
      const std::string_view start = c.start, end = c.end;
      inputs.start_marker = std::u16string(start.begin(), start.end());
      inputs.end_marker = std::u16string(end.begin(), end.end());
      const std::string page = c.page;
      folder.create("a.htm", signature + (inputs.files.fixed_charset()
                                              ? testing::Utf16Le(page)
                                              : page));
      RunOptions options;
      options.transform = &PlainTextTransform();
      Run(options);
      EXPECT_EQ(folder.read("Export1.txt"), c.text) << c.page;
    }
  }
}

// A sink that asks the run to stop once `stop_after` files were examined.
class StoppingSink : public testing::RecordingSink {
 public:
  explicit StoppingSink(int stop_after) : stop_after_(stop_after) {}
  void FileExamined(const FileReport&) override { ++examined_; }
  bool StopRequested() const override { return examined_ >= stop_after_; }

 private:
  int stop_after_, examined_ = 0;
};

// A stop asked between two files ends the run there: the output holds the
// pieces written so far, whole, and the summary counts the files examined.
TEST_F(RunTest, AStopEndsTheRunBetweenTwoFiles) {
  dir.create("a.htm", Page("one"));
  dir.create("b.htm", "no markers");
  dir.create("c.htm", Page("three"));
  dir.create("d.htm", Page("four"));
  struct Case {
    int stop_after;
    std::string events;  // between the start and the summary
    const char* summary;
    const char* output;  // nullptr: none made
  };
  const Case cases[] = {
      {0, "", "0 checked, 0 didn't find.", nullptr},
      {3, Written(1, 4) + "log \"Haven't start: b.htm\"\n" + Written(2, 4),
       "3 checked, 1 didn't find.", "onethree"},
  };
  for (const Case& c : cases) {
    StoppingSink stopping(c.stop_after);
    const RunResult result = RunExtraction(inputs, {}, stopping);
    EXPECT_EQ(stopping.transcript, std::string(kRunStart) + c.events +
                                       "log \"Stopped by the user.\"\n" +
                                       Summary(c.summary))
        << c.stop_after;
    EXPECT_EQ(result.end, RunResult::End::kStopped);
    if (c.output != nullptr) {
      EXPECT_EQ(dir.read("Export1.htm"), c.output);
      std::filesystem::remove(dir.path() / "Export1.htm");
    } else {
      EXPECT_FALSE(std::filesystem::exists(dir.path() / "Export1.htm"));
    }
  }
}

// The stop asked from another thread while the run works on its own, as
// the window asks it: the run sees it before its next file.
TEST_F(RunTest, AStopAskedFromAnotherThreadEndsTheRunAfterThePiece) {
  class ThreadSink : public testing::RecordingSink {
   public:
    std::promise<void> first_piece, stop_asked;
    std::atomic<bool> stop{false};
    void PieceWritten(std::int64_t done, std::int64_t total) override {
      RecordingSink::PieceWritten(done, total);
      if (done == 1) {
        first_piece.set_value();
        stop_asked.get_future().wait();
      }
    }
    bool StopRequested() const override { return stop.load(); }
  } sink;
  for (const char* name : {"a.htm", "b.htm", "c.htm"})
    dir.create(name, Page(name));

  RunResult result;
  std::thread run([&] { result = RunExtraction(inputs, {}, sink); });
  sink.first_piece.get_future().wait();
  sink.stop = true;
  sink.stop_asked.set_value();
  run.join();

  EXPECT_EQ(result.end, RunResult::End::kStopped);
  EXPECT_EQ(sink.log, u"Stopped by the user.\r\n");
  EXPECT_EQ(sink.summary, u"1 checked, 0 didn't find.");
  EXPECT_EQ(dir.read("Export1.htm"), "a.htm");
}

}  // namespace
}  // namespace vantrel
