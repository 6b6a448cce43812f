// Where the pieces go: output names, both layouts, the output formats, and
// what the writer does when a name is taken or a write fails.
#include "extraction/output/output_writer.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>

#include "extraction/base/run_error.h"
#include "extraction/output/output_names.h"
#include "extraction/sys/operation_seam.h"
#include "extraction/text/charsets.h"
#include "extraction/text/text.h"
#include "tests/support/fault_plan.h"
#include "tests/support/temp_folder.h"

namespace vantrel {
namespace {

using namespace std::string_literals;

class OutputWriterTest : public ::testing::Test {
 protected:
  void SetUp() override { folder = dir.text(); }
  // One write, as the run's writer makes it; consecutive writes continue
  // one run until `writer` is reset.
  void Write(std::u16string_view piece, std::u16string_view name = u"a.htm") {
    if (!writer) writer.emplace(folder, charset, separate, u"htm");
    writer->WriteFile(piece, name);
  }
  void Symlink(const char* target, const char* name) {
    ASSERT_EQ(::symlink(target, (dir.path() / name).c_str()), 0);
  }

  testing::TempFolder dir;
  std::u16string folder;
  Charset charset = Charset::kWindows1256;
  bool separate = false;
  std::optional<OutputWriter> writer;
};

// Which names earlier outputs hold, and the name a run then takes, in a
// dry run as in a real one: the first free number, a name held in any
// letter case being held. Only a file holds up the collected file's name,
// only a folder the output folder's; the chosen name keeps the extension
// as typed.
TEST(OutputNamesTest, TheFirstNumberWhoseNameIsFreeInAnyLetterCase) {
  struct Case {
    bool separate;
    std::u16string extension;
    std::vector<std::string> taken;  // a folder's name ends in "/"
    std::string chosen;
  };
  const Case cases[] = {
      {false, u"htm", {"Export1.htm", "Export2/"}, "Export2.htm"},
      {false, u"htm", {"EXPORT1.HTM", "export2.Htm"}, "Export3.htm"},
      {false, u"HTM", {"Export1.htm"}, "Export2.HTM"},
      {false, u"T", {"Export01.t", "Export1.tt", "AExport1.t"}, "Export1.T"},
      // The Kelvin sign lower-cases to k.
      {false, u"kml", {"Export1.\u212AML"}, "Export2.kml"},
      {true, u"htm", {"Export1.htm", "export2"}, "Export1"},
      {true, u"htm", {"export1/", "EXPORT2/", "Export4/"}, "Export3"},
  };
  for (const Case& c : cases) {
    testing::TempFolder dir;
    std::vector<std::string> all = {c.chosen};
    for (std::string name : c.taken) {
      if (name.ends_with('/')) {
        name.pop_back();
        std::filesystem::create_directory(dir.path() / name);
      } else {
        dir.create(name, "old");
      }
      all.push_back(name);
    }
    const std::string shown =
        c.chosen + " after " + ::testing::PrintToString(c.taken);
    for (const bool dry_run : {true, false}) {
      OutputWriter writer(dir.text(), Charset::kWindows1256, c.separate,
                          c.extension, dry_run);
      writer.WriteFile(Piece(u"x"), u"a.htm");
      EXPECT_EQ(writer.made(), dir.text() + u"/" + Utf8ToText(c.chosen))
          << shown;
    }
    EXPECT_EQ(dir.read(c.separate ? c.chosen + "/a.htm" : c.chosen), "x")
        << shown;
    std::sort(all.begin(), all.end());
    EXPECT_EQ(dir.list(), all) << shown;
  }
}

// A listed file's separate output is named by the last part of its path,
// inside the output folder whatever the path; where names meet, letter
// case aside, the first in the list keeps its name and the others are
// numbered before their extension, past numbers that a later file wants.
TEST(OutputNamesTest, ListedFilesAreNamedByTheirLastPartApart) {
  struct Case {
    std::vector<std::u16string> paths;
    std::vector<std::u16string> names;
  };
  const Case cases[] = {
      {{u"/a/b/page.htm", u"c/d.html", u"e.htm"},
       {u"page.htm", u"d.html", u"e.htm"}},
      {{u"../../etc/p.htm", u"a/P.HTM", u"p.htm"},
       {u"p.htm", u"P (2).HTM", u"p (3).htm"}},
      // Listed twice: read twice, written twice.
      {{u"x/p.htm", u"x/p.htm"}, {u"p.htm", u"p (2).htm"}},
      {{u"a/p.htm", u"b/p.htm", u"c/p (2).htm"},
       {u"p.htm", u"p (3).htm", u"p (2).htm"}},
      {{u"a/notes", u"b/notes", u"a/.htm", u"b/.htm"},
       {u"notes", u"notes (2)", u".htm", u".htm (2)"}},
  };
  for (const Case& c : cases) {
    const std::vector<std::u16string_view> given(c.paths.begin(),
                                                 c.paths.end());
    const ListedFileNames names(given);
    std::vector<std::u16string> planned;
    for (std::size_t i = 0; i < c.paths.size(); ++i) {
      planned.push_back(names.At(i));
    }
    EXPECT_EQ(planned, c.names) << TextToUtf8(c.paths.front());
  }
}

// The separate files of a text output: no two sources share a name, in
// any letter case, and each name depends on the set of sources only, so
// the plan given the sources in reverse is the same.
TEST(OutputNamesTest, TextFileNamesArePlannedApart) {
  struct Case {
    std::vector<std::u16string> sources;
    std::vector<std::u16string> names;  // in the order of `sources`
  };
  const Case cases[] = {
      {{u"a.htm", u"b.html", u"c"}, {u"a.txt", u"b.txt", u"c.txt"}},
      {{u"a.htm", u"A.html"}, {u"a.htm.txt", u"A.html.txt"}},
      {{u"x.htm", u"x.html", u"x.htm.html"},
       {u"x.htm.txt", u"x.html.txt", u"x.htm (2).txt"}},
      // A number already wanted by a source is passed over.
      {{u"x.htm", u"x.html", u"x.htm.html", u"x.htm (2).htm"},
       {u"x.htm.txt", u"x.html.txt", u"x.htm (3).txt", u"x.htm (2).txt"}},
      // Names that differ in letter case only clash.
      {{u"X.htm", u"x.htm"}, {u"X.htm.txt", u"x.htm (2).txt"}},
      {{u"X.htm", u"x.HTM", u"x.html"},
       {u"X.htm.txt", u"x.HTM (2).txt", u"x.html.txt"}},
      // The source that a run reads first, letter case ignored, keeps it.
      {{u"X.htm.html", u"x.htm", u"x.html"},
       {u"X.htm (2).txt", u"x.htm.txt", u"x.html.txt"}},
      // Sub-folders: a name clashes only with names in its own folder.
      {{u"s/a.htm", u"s/a.html", u"t/a.htm", u"s/a.htm.htm"},
       {u"s/a.htm.txt", u"s/a.html.txt", u"t/a.txt", u"s/a.htm (2).txt"}},
  };
  for (const Case& c : cases) {
    std::vector<std::u16string_view> forward(c.sources.begin(),
                                             c.sources.end());
    std::vector<std::u16string_view> backward(c.sources.rbegin(),
                                              c.sources.rend());
    for (const auto& given : {forward, backward}) {
      const TextFileNames names(given);
      std::vector<std::u16string> planned;
      for (const std::u16string& source : c.sources) {
        planned.push_back(names.For(source));
      }
      EXPECT_EQ(planned, c.names) << TextToUtf8(c.sources.back());
    }
  }
}

// Where the output cannot be made, the run ends naming it, a dry run as a
// real one, and the folder is left as it was: something of the other kind
// is in the way (a plain file Export1 in separated mode, a folder
// Export1.htm in single-file mode), or the folder takes no new entry (a
// read-only folder; as root, who may write anywhere, the fault plan
// refuses the create).
TEST(OutputInTheWayTest, TheRunEndsNamingIt) {
  struct Case {
    bool separate;
    const char* in_the_way;  // or nothing: the folder is read-only
    const char* description;
  };
  for (const Case& c :
       {Case{true, "Export1", "cannot create folder %/Export1: File exists"},
        Case{false, "Export1.htm",
             "cannot create %/Export1.htm: Is a directory"},
        Case{true, nullptr,
             "cannot create folder %/Export1: Permission denied"},
        Case{false, nullptr,
             "cannot create %/Export1.htm: Permission denied"}}) {
    for (const bool dry_run : {false, true}) {
      testing::TempFolder dir;
      if (c.in_the_way == nullptr) {
        if (::geteuid() == 0) {
          testing::InjectFaultOn(
              c.separate ? fs::Operation::kCreateFolder : fs::Operation::kOpen,
              dir.path() / (c.separate ? "Export1" : "Export1.htm"), 1, EACCES);
        } else {
          ::chmod(dir.path().c_str(), 0555);
        }
      } else if (c.separate) {
        dir.create(c.in_the_way, "a file, not a folder");
      } else {
        std::filesystem::create_directory(dir.path() / c.in_the_way);
      }
      OutputWriter writer(dir.text(), Charset::kWindows1256, c.separate, u"htm",
                          dry_run);
      std::string description = c.description;
      description.replace(description.find('%'), 1, dir.path().string());
      const std::string shown = description + (dry_run ? " (dry run)" : "");
      try {
        writer.WriteFile(Piece(u"x"), u"a.htm");
        ADD_FAILURE() << "no error: " << shown;
      } catch (const RunError& e) {
        EXPECT_EQ(std::string(e.what()), description) << shown;
      }
      testing::ClearFault();
      EXPECT_EQ(dir.list(), c.in_the_way == nullptr
                                ? std::vector<std::string>{}
                                : std::vector<std::string>{c.in_the_way})
          << shown;
      EXPECT_EQ(writer.made(), std::nullopt) << shown;
    }
  }
}

TEST_F(OutputWriterTest, PlantedLinksAreNeverWrittenThrough) {
  testing::TempFolder elsewhere;
  const std::string target = (elsewhere.path() / "target").string();
  Symlink(target.c_str(), "Export1.htm");  // dangling: looks free
  Symlink(elsewhere.path().c_str(), "Export1");
  Symlink(target.c_str(), "Export2");  // dangling link in a folder's place

  Write(u"single");
  separate = true;
  writer.reset();
  Write(u"separate");

  EXPECT_EQ(dir.read("Export2.htm"), "single");
  EXPECT_EQ(dir.read("Export3/a.htm"), "separate");
  EXPECT_TRUE(elsewhere.list().empty());
}

TEST_F(OutputWriterTest, Utf16OutputHasOneSignatureAtItsHead) {
  charset = Charset::kUtf8;
  Write(u"");
  EXPECT_EQ(dir.read("Export1.htm"), "\xFF\xFE");
  Write(u"a");
  Write(u"\u0628");
  EXPECT_EQ(dir.read("Export1.htm"),
            "\xFF\xFE"
            "a\0\x28\x06"s);
}

// A write that hits the file-size limit leaves only whole pieces: the file is
// cut back to its length before the piece, also when the limit falls in a
// later slice of a large windows-1256 piece. Runs in a child process, whose
// limit cannot touch the test runner.
TEST_F(OutputWriterTest, AFailedAppendLeavesOnlyWholePieces) {
  for (const std::size_t second : {std::size_t{60}, std::size_t{200000}}) {
    testing::TempFolder dir;
    folder = dir.text();
    writer.reset();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::signal(SIGXFSZ, SIG_IGN);
      const rlim_t size = second == 60 ? 100 : 100000;
      const rlimit limit{size, size};
      ::setrlimit(RLIMIT_FSIZE, &limit);
      Write(std::u16string(60, u'a'));
      try {
        Write(std::u16string(second, u'b'));
      } catch (const RunError& e) {
        const bool described =
            std::string(e.what()).ends_with("Export1.htm: File too large");
        ::_exit(described ? 0 : 2);
      }
      ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: no error; 2: wrong description";
    EXPECT_EQ(dir.read("Export1.htm"), std::string(60, 'a')) << second;
  }
}

TEST_F(OutputWriterTest, LargeEightBitPiecesKeepSurrogatePairsWhole) {
  // The pair straddles the end of the first 65,536-unit slice.
  std::u16string piece(65535, u'a');
  piece += u"\U0001F600b";
  Write(piece);
  EXPECT_EQ(dir.read("Export1.htm"), std::string(65535, 'a') + "?b");
}

}  // namespace
}  // namespace vantrel
