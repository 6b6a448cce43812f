// Whatever the folder holds and whatever the machine does, a run ends with
// its summary or through the error trap with a description naming the file
// and the reason; it leaves only whole pieces, no file open, and the
// pointer back to default.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>

#include "extraction/file_report.h"
#include "extraction/run.h"
#include "extraction/source/source_listing.h"
#include "extraction/sys/operation_seam.h"
#include "extraction/text/native_names.h"
#include "extraction/text/text.h"
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

int OpenDescriptors() {
  int count = 0;
  DIR* dir = ::opendir("/proc/self/fd");
  while (const dirent* entry = ::readdir(dir)) count += entry->d_name[0] != '.';
  ::closedir(dir);
  return count;
}

std::string Utf8(std::u16string_view text) { return TextToUtf8(text); }

struct Sources {
  std::string name;
  std::string (*encode)(std::string_view);  // ASCII page to source bytes
  std::string signature;                    // of the output
  std::string (*output)(std::string_view);  // ASCII piece to output bytes
};

std::string Same(std::string_view ascii) { return std::string(ascii); }
std::string Utf8Page(std::string_view ascii) {
  return std::string(testing::kUtf8Signature) + std::string(ascii);
}
std::string Utf16LePage(std::string_view ascii) {
  return std::string(testing::kUtf16LeSignature) + testing::Utf16Le(ascii);
}
std::string Utf16BePage(std::string_view ascii) {
  return std::string(testing::kUtf16BeSignature) + testing::Utf16Be(ascii);
}

const Sources kSources[] = {
    {"utf-8", Utf8Page, "\xFF\xFE", testing::Utf16Le},
    {"windows-1256", Same, "", Same},
    {"unicode", Utf16LePage, "\xFF\xFE", testing::Utf16Le},
    {"utf-16", Utf16BePage, "\xFF\xFE", testing::Utf16Le},
};

// A recording window that also marks where each examined file ends, so
// that a transcript can be cut at the files' boundaries.
class MarkingSink : public RecordingSink {
 public:
  void FileExamined(const FileReport& report) override {
    transcript += "examined " + Utf8(report.name) + "\n";
  }
};

// The clean transcript up to the end of the file before `name` (to the
// run's start for the first file).
std::string PrefixBefore(const std::string& clean, const std::string& name) {
  std::size_t end = clean.find("started\n") + 8;
  for (const char* file : {"a.htm", "b.htm", "c.htm", "d.htm"}) {
    if (file == name) return clean.substr(0, end);
    end = clean.find("examined " + std::string(file) + "\n") + 10 +
          std::strlen(file);
  }
  return clean.substr(0, end);
}

// Makes every operation of a representative run fail in turn, in both
// layouts and for each charset, and checks what the run leaves behind. The
// operations are told apart by kind and path: a run reads its sources
// ahead on a second thread, so the n-th operation of a kind is not always
// the same one, while the n-th on one path is.
TEST(FaultInjectionTest, EveryFailingOperationEndsTheRunCleanly) {
  const char* pieces[] = {"first piece\r\n", "", "third piece"};
  for (const Sources& sources : kSources) {
    for (bool separate : {false, true}) {
      const auto make_folder = [&](TempFolder& dir) {
        dir.create("a.htm", sources.encode(Page(pieces[0])));
        dir.create("b.htm", sources.encode("no markers"));
        dir.create("c.htm", sources.encode(Page(pieces[1])));
        dir.create("d.htm", sources.encode(Page(pieces[2])));
      };
      // A clean run, to count the operations and to compare with. Paths
      // are kept relative to the folder, which each run makes anew.
      std::map<std::pair<fs::Operation, std::string>, int> counts;
      MarkingSink clean;
      RunInputs clean_inputs = testing::StartupInputs();
      {
        TempFolder dir;
        make_folder(dir);
        clean_inputs.files.folder = dir.text();
        clean_inputs.separate = separate;
        testing::ClearFault();
        RunExtraction(clean_inputs, {}, clean);
        for (const auto& [key, count] : testing::OperationCountsByPath()) {
          counts[{key.first, key.second.lexically_relative(dir.path())}] =
              count;
        }
      }
      ASSERT_EQ(clean.summary, u"4 checked, 1 didn't find.");
      std::map<fs::Operation, int> kinds;
      for (const auto& [key, count] : counts) kinds[key.first] += count;
      for (auto [operation, name] : fs::kOperations) {
        // Only the separated layout makes a folder.
        if (separate || operation != fs::Operation::kCreateFolder) {
          ASSERT_GT(kinds[operation], 0) << name;
        }
      }

      for (const auto& [key, count] : counts) {
        const auto& [operation, relative] = key;
        for (int k = 1; k <= count; ++k) {
          const std::string trace =
              sources.name + (separate ? " separated, " : " single, ") +
              std::string(fs::kOperations[static_cast<int>(operation)].second) +
              " #" + std::to_string(k) + " on " + relative;
          TempFolder dir;
          make_folder(dir);
          MarkingSink window;
          RunInputs inputs = testing::StartupInputs();
          inputs.files.folder = dir.text();
          inputs.separate = separate;
          const int descriptors = OpenDescriptors();
          testing::InjectFaultOn(
              operation, relative == "." ? dir.path() : dir.path() / relative,
              k, EIO);
          const RunResult result = RunExtraction(inputs, {}, window);
          testing::ClearFault();

          EXPECT_EQ(OpenDescriptors(), descriptors) << trace;
          EXPECT_FALSE(window.busy) << trace;
          EXPECT_TRUE(window.transcript.ends_with("finished\n")) << trace;
          if (result.end == RunResult::End::kErrorTrap) {
            const std::string log = Utf8(window.log);
            const std::size_t line = log.find("Unknown error occurred:\r\n");
            ASSERT_NE(line, std::string::npos) << trace;
            const std::string description = log.substr(line + 25);
            EXPECT_TRUE(description.starts_with("cannot ")) << trace;
            EXPECT_NE(description.find(dir.path().string()), std::string::npos)
                << trace << ": " << description;
            EXPECT_TRUE(description.ends_with(": Input/output error\r\n"))
                << trace << ": " << description;
            EXPECT_EQ(window.summary, u"") << trace;
            // The run went as the clean one up to the end of a file, then
            // logged the trap; a source's failure ends it at that source,
            // however far ahead it was read.
            const std::size_t trap =
                window.transcript.rfind("log \"Unknown error occurred:\"");
            const std::string before = window.transcript.substr(0, trap);
            EXPECT_TRUE(before.ends_with("started\n") ||
                        before.ends_with(".htm\n"))
                << trace << ":\n"
                << before;
            EXPECT_TRUE(clean.transcript.starts_with(before)) << trace << ":\n"
                                                              << before;
            if (!relative.starts_with("Export") && relative != ".") {
              EXPECT_EQ(before, PrefixBefore(clean.transcript, relative))
                  << trace;
            }
          } else {
            // Only a failed look at an entry may pass as "not there": the
            // folder is then not found, or the run goes on as the clean one.
            EXPECT_EQ(operation, fs::Operation::kStat) << trace;
            if (result.end == RunResult::End::kNormal) {
              EXPECT_EQ(window.transcript, clean.transcript) << trace;
            } else {
              EXPECT_EQ(window.log, u"Didn't find choosed folder.\r\n")
                  << trace;
            }
          }
          if (relative.ends_with(".htm") && !relative.starts_with("Export")) {
            // A run that keeps going loses that source alone (or nothing,
            // when the charset's probe met the fault and the next file
            // decided, in the same charset); every other piece comes out.
            TempFolder kept_dir;
            make_folder(kept_dir);
            MarkingSink kept;
            RunInputs kept_inputs = testing::StartupInputs();
            kept_inputs.files.folder = kept_dir.text();
            kept_inputs.separate = separate;
            RunOptions keep_going;
            keep_going.keep_going = true;
            testing::InjectFaultOn(operation, kept_dir.path() / relative, k,
                                   EIO);
            const RunResult kept_result =
                RunExtraction(kept_inputs, keep_going, kept);
            testing::ClearFault();
            EXPECT_EQ(OpenDescriptors(), descriptors) << trace;
            if (kept_result.unreadable == 0) {
              EXPECT_EQ(kept.transcript, clean.transcript) << trace;
            } else {
              EXPECT_EQ(kept_result.unreadable, 1) << trace;
              EXPECT_NE(Utf8(kept.log).find("Can't open: " + relative +
                                            ": Input/output error\r\n"),
                        std::string::npos)
                  << trace;
              EXPECT_EQ(kept.summary, relative == "b.htm"
                                          ? u"4 checked, 1 didn't find."
                                          : u"4 checked, 2 didn't find.")
                  << trace;
              std::string collected;
              for (int i = 0; i < 3; ++i) {
                const char* file = i == 0   ? "a.htm"
                                   : i == 1 ? "c.htm"
                                            : "d.htm";
                if (relative == file) continue;
                if (separate) {
                  EXPECT_EQ(kept_dir.read("Export1/"s + file),
                            sources.signature + sources.output(pieces[i]))
                      << trace;
                } else {
                  collected += sources.output(pieces[i]);
                }
              }
              if (!separate) {
                EXPECT_EQ(kept_dir.read("Export1.htm"),
                          sources.signature + collected)
                    << trace;
              }
            }
          }

          // Whole pieces only, in order, none lost before the failure.
          const int written = result.successes;
          if (separate) {
            if (!std::filesystem::exists(dir.path() / "Export1")) {
              EXPECT_EQ(written, 0) << trace;
              continue;
            }
            const auto files = dir.list("Export1");
            EXPECT_GE(files.size(), static_cast<std::size_t>(written)) << trace;
            for (const std::string& file : files) {
              const int i = file == "a.htm" ? 0 : file == "c.htm" ? 1 : 2;
              EXPECT_EQ(dir.read("Export1/" + file),
                        sources.signature + sources.output(pieces[i]))
                  << trace << ": " << file;
            }
          } else {
            if (!std::filesystem::exists(dir.path() / "Export1.htm")) {
              EXPECT_EQ(written, 0) << trace;
              continue;
            }
            const std::string content = dir.read("Export1.htm");
            std::string whole = sources.signature;
            bool matched = false;
            for (int i = 0; i < 3 && !matched; ++i) {
              whole += sources.output(pieces[i]);
              matched = i + 1 >= written && content == whole;
            }
            EXPECT_TRUE(matched) << trace << ": " << content.size();
          }
        }
      }
    }
  }
}

// Runs `body` in a child process, under an unprivileged user id when this
// test runs as root (root reads and writes whatever the modes say), and
// returns what the child wrote to its pipe.
std::string AsUnprivilegedUser(const std::function<std::string()>& body) {
  int pipe_fds[2];
  if (::pipe(pipe_fds) != 0) return "no pipe";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipe_fds[0]);
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
      ::_exit(1);
    }
    const std::string out = body();
    if (::write(pipe_fds[1], out.data(), out.size()) < 0) ::_exit(2);
    ::_exit(0);
  }
  ::close(pipe_fds[1]);
  std::string out;
  char buffer[4096];
  ssize_t n;
  while ((n = ::read(pipe_fds[0], buffer, sizeof buffer)) > 0) {
    out.append(buffer, n);
  }
  ::close(pipe_fds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "child failed";
  return out;
}

// The run's log after a run on `dir` with the default inputs, reading
// sub-folders when `recursive`.
std::string RunLog(const TempFolder& dir, const RunOptions& options = {},
                   bool recursive = false) {
  RecordingSink window;
  RunInputs inputs = testing::StartupInputs();
  inputs.files.folder = dir.text();
  inputs.files.recursive = recursive;
  const RunResult result = RunExtraction(inputs, options, window);
  return Utf8(window.log) + Utf8(window.summary) +
         (result.unreadable > 0
              ? " (" + std::to_string(result.unreadable) + " passed over)"
              : "");
}

class RealFaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Open to the unprivileged user of AsUnprivilegedUser.
    ::chmod(dir.path().c_str(), 0777);
  }
  void TearDown() override { testing::ClearFault(); }
  std::string Path(const char* name) { return (dir.path() / name).string(); }
  TempFolder dir;
};

TEST_F(RealFaultTest, ReadOnlyFolderLeavesNothingBehind) {
  dir.create("a.htm", Page("a"));
  ::chmod(dir.path().c_str(), 0555);
  EXPECT_EQ(AsUnprivilegedUser([&] { return RunLog(dir); }),
            "Unknown error occurred:\r\ncannot create " + Path("Export1.htm") +
                ": Permission denied\r\n");
  ::chmod(dir.path().c_str(), 0755);
  EXPECT_EQ(dir.list(), std::vector<std::string>{"a.htm"});
}

// An unreadable file or sub-folder ends the run, unless the run keeps going
// past it: then it is logged with the reason, and the rest are read (the
// files on both sides of the file through the read-ahead's two threads).
TEST_F(RealFaultTest, UnreadableFileOrFolderEndsTheRunUnlessItKeepsGoing) {
  dir.create("a.htm", Page("a"));
  dir.create("b.htm", Page("b"));
  dir.create("c/x.htm", Page("x"));
  dir.create("d.htm", Page("d"));
  ::chmod(Path("b.htm").c_str(), 0);
  ::chmod(Path("c").c_str(), 0);
  const struct {
    bool recursive, keep_going;
    std::string log;
  } cases[] = {
      {false, false,
       "Unknown error occurred:\r\ncannot open " + Path("b.htm") +
           ": Permission denied\r\n"},
      {false, true,
       "Can't open: b.htm: Permission denied\r\n"
       "3 checked, 1 didn't find. (1 passed over)"},
      {true, false,
       "Unknown error occurred:\r\ncannot list folder " + Path("c") +
           ": Permission denied\r\n"},
      {true, true,
       "Can't open: b.htm: Permission denied\r\nCan't open: c/: Permission "
       "denied\r\n3 checked, 1 didn't find. (2 passed over)"},
  };
  for (const auto& c : cases) {
    RunOptions options;
    options.keep_going = c.keep_going;
    EXPECT_EQ(
        AsUnprivilegedUser([&] { return RunLog(dir, options, c.recursive); }),
        c.log)
        << c.recursive << c.keep_going;
    if (c.keep_going) {
      EXPECT_EQ(dir.read("Export1.htm"), "ad");
    }
    std::filesystem::remove(dir.path() / "Export1.htm");
  }
  ::chmod(Path("c").c_str(), 0755);
}

TEST_F(RealFaultTest, FolderRemovedBetweenThePasses) {
  dir.create("a.htm", Page("a"));
  testing::BeforeOperation(fs::Operation::kList, 2,
                           [&] { std::filesystem::remove_all(dir.path()); });
  EXPECT_EQ(RunLog(dir), "Unknown error occurred:\r\ncannot list folder " +
                             dir.path().string() +
                             ": No such file or directory\r\n");
}

TEST_F(RealFaultTest, SourceThatGrowsIsReadToItsNewEnd) {
  dir.create("a.htm", "<Div id=\"E23\">\r\n   <p class=Matn>\r\nfirst ");
  // Reads: the probe, then the whole file, after its size was taken.
  testing::BeforeOperation(fs::Operation::kRead, 2, [&] {
    const std::string more =
        "and more" + std::string(5000, '.') + "   </p>\r\n</Div>\r\n";
    FILE* f = std::fopen(Path("a.htm").c_str(), "ab");
    std::fwrite(more.data(), 1, more.size(), f);
    std::fclose(f);
  });
  EXPECT_EQ(RunLog(dir), "1 checked, 0 didn't find.");
  EXPECT_EQ(dir.read("Export1.htm"), "first and more" + std::string(5000, '.'));
}

// Only regular files and links to them are sources; other files are never
// opened.
TEST_F(RealFaultTest, OnlyRegularFilesAndLinksToThemAreSources) {
  dir.create("a.htm", Page("a"));
  ASSERT_EQ(::symlink("a.htm", Path("alink.htm").c_str()), 0);
  ASSERT_EQ(::symlink("missing", Path("broken.htm").c_str()), 0);
  dir.create("sub/inner.htm", Page("inner"));
  ASSERT_EQ(::symlink("sub", Path("sub.htm").c_str()), 0);
  ASSERT_EQ(::mkfifo(Path("fifo.htm").c_str(), 0644), 0);
  const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string socket_path = Path("socket.htm");
  ASSERT_LT(socket_path.size(), sizeof address.sun_path);
  std::strcpy(address.sun_path, socket_path.c_str());
  ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address),
            0);
  if (::geteuid() == 0) {
    ASSERT_EQ(
        ::mknod(Path("null.htm").c_str(), S_IFCHR | 0666, ::makedev(1, 3)), 0);
  }
  ASSERT_EQ(::symlink("fifo.htm", Path("fifolink.htm").c_str()), 0);

  EXPECT_EQ(RunLog(dir), "2 checked, 0 didn't find.");
  EXPECT_EQ(dir.read("Export1.htm"), "aa");
  ::close(sock);
}

// A source that turns into a FIFO between the listing and its opening is
// not read: opening it must not wait for a writer (the alarm ends a run
// that hangs), and the open file is checked to be regular.
TEST_F(RealFaultTest, SourceSwappedForAFifoIsNotRead) {
  dir.create("a.htm", Page("a"));
  // Opens: the probe, then the source.
  testing::BeforeOperation(fs::Operation::kOpen, 2, [&] {
    std::filesystem::remove(Path("a.htm"));
    ::mkfifo(Path("a.htm").c_str(), 0644);
  });
  ::alarm(20);
  EXPECT_EQ(RunLog(dir), "Unknown error occurred:\r\ncannot read " +
                             Path("a.htm") + ": Invalid argument\r\n");
  ::alarm(0);
}

// The longest name a folder takes gives its piece, and names the output in
// separated mode.
TEST(BadInputTest, LongestNameGivesItsPiece) {
  TempFolder dir;
  const std::string name = std::string(251, 'n') + ".htm";
  dir.create(name, "[long]");
  RunInputs inputs = testing::StartupInputs(dir.text());
  inputs.start_marker = u"[";
  inputs.end_marker = u"]";
  inputs.separate = true;
  RunSink sink;
  EXPECT_EQ(RunExtraction(inputs, {}, sink).summary,
            u"1 checked, 0 didn't find.");
  EXPECT_EQ(dir.read("Export1/" + name), "long");
}

// Names equal but for letter case are read in the order of their bytes,
// whichever order the folder lists them in (they are made in both).
TEST(BadInputTest, NamesEqualButForLetterCaseGoInByteOrder) {
  TempFolder dir;
  for (const char* pair : {"aA", "Bb", "cC", "Dd", "eE", "Ff"}) {
    for (const char* c = pair; *c != 0; ++c) {
      dir.create(std::string(1, *c) + ".htm", "");
    }
  }
  std::string order;
  for (const SourceItem& item :
       SourcesInOrder(dir.path(), ExtensionFilter({u"htm"}), {}).items) {
    order += item.relative.front();
  }
  EXPECT_EQ(order, "AaBbCcDdEeFf");
}

// The folder `levels` folders of one 120-character name deep in `top`,
// opened one level at a time (made, with `make`): its path is longer than
// any path the system takes. A descriptor, or -1.
int DeepFolder(const std::filesystem::path& top, int levels, bool make) {
  const std::string name(120, 'd');
  int fd = ::open(top.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  for (int i = 0; i < levels && fd >= 0; ++i) {
    if (make) ::mkdirat(fd, name.c_str(), 0755);
    const int sub =
        ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ::close(fd);
    fd = sub;
  }
  return fd;
}

// Writes or reads the file `name` in the folder `fd`, and closes the folder.
void WriteIn(int fd, const char* name, std::string_view bytes) {
  const int file = ::openat(fd, name, O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  EXPECT_EQ(::write(file, bytes.data(), bytes.size()),
            static_cast<ssize_t>(bytes.size()));
  ::close(file);
  ::close(fd);
}
std::string ReadIn(int fd, const char* name) {
  const int file = ::openat(fd, name, O_RDONLY | O_CLOEXEC);
  char bytes[64];
  const ssize_t n = file < 0 ? 0 : ::read(file, bytes, sizeof bytes);
  ::close(file);
  ::close(fd);
  return std::string(bytes, n > 0 ? n : 0);
}

TEST(BadInputTest, TreesDeeperThanTheLongestPathAreReadAndWritten) {
  for (bool separate : {false, true}) {
    TempFolder dir;
    // 40 levels of 120 characters: 4840 bytes below the folder.
    dir.create("a.htm", "[top]");
    WriteIn(DeepFolder(dir.path(), 20, true), "mid.htm", "[mid]");
    WriteIn(DeepFolder(dir.path(), 40, true), "deep.htm", "[deep]");
    RecordingSink window;
    RunInputs inputs = testing::StartupInputs();
    inputs.files.folder = dir.text();
    inputs.start_marker = u"[";
    inputs.end_marker = u"]";
    inputs.separate = separate;
    inputs.files.recursive = true;
    RunExtraction(inputs, {}, window);
    EXPECT_EQ(Utf8(window.log) + Utf8(window.summary),
              "3 checked, 0 didn't find.")
        << separate;
    if (separate) {
      EXPECT_EQ(
          ReadIn(DeepFolder(dir.path() / "Export1", 20, false), "mid.htm"),
          "mid");
      EXPECT_EQ(
          ReadIn(DeepFolder(dir.path() / "Export1", 40, false), "deep.htm"),
          "deep");
    } else {
      EXPECT_EQ(dir.read("Export1.htm"), "topdeepmid");
    }
  }
}

// One more file than a 16-bit count holds; tiny files keep the test fast.
TEST(LoadTest, ThirtyTwoThousandSevenHundredSixtyEightFiles) {
  TempFolder dir;
  for (int i = 0; i < 32768; ++i) {
    dir.create(std::to_string(i) + ".t", "[x]");
  }
  RecordingSink window;
  RunInputs inputs = testing::StartupInputs();
  inputs.files.folder = dir.text();
  inputs.files.extensions = {u"t"};
  inputs.start_marker = u"[";
  inputs.end_marker = u"]";
  RunExtraction(inputs, {}, window);
  EXPECT_EQ(window.summary, u"32768 checked, 0 didn't find.");
  // Compared whole, not shown whole when it differs.
  const std::string output = dir.read("Export1.t");
  EXPECT_TRUE(output == std::string(32768, 'x')) << output.size() << " bytes";
}

}  // namespace
}  // namespace vantrel
