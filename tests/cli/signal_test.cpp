// SIGINT, SIGTERM and SIGHUP sent to a real vantrel-cli in the middle of a
// run over large pages: the output holds whole pieces only, the first
// signal stops the run between files with its log line and summary, a
// second one ends the program at once, and either way the shell sees the
// program ended by the signal.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/cli/cli_process.h"
#include "tests/support/pages.h"
#include "tests/support/temp_folder.h"

namespace vantrel {
namespace {

using testing::CliProcess;
using testing::Outcome;
using testing::TempFolder;

constexpr int kPages = 12;
// Large enough that writing a piece takes many writes (UTF-8 output is
// encoded a slice at a time), so that a signal finds the run in one.
constexpr std::size_t kPieceSize = std::size_t{4} << 20;

std::string PieceOf(int page) {
  return std::string(kPieceSize, static_cast<char>('a' + page));
}

std::string NameOf(int page) {
  return "page" + std::to_string(10 + page) + ".htm";
}

// A folder of large pages, and the arguments of a run over it.
struct LargeRun {
  explicit LargeRun(bool separate) : separate(separate) {
    for (int i = 0; i < kPages; ++i) {
      dir.create(NameOf(i), testing::Page(PieceOf(i)));
    }
    args = {"--out-charset", "utf-8", dir.path().string()};
    if (separate) args.insert(args.begin(), "--separate");
  }

  // Waits until the run has begun writing its output.
  bool WaitForOutput() const {
    const auto path = dir.path() / (separate ? "Export1" : "Export1.htm");
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
      std::error_code error;
      if (separate ? !std::filesystem::is_empty(path, error) && !error
                   : std::filesystem::exists(path, error)) {
        return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
  }

  // How many pieces the output holds, each whole; fails the test on any
  // partial or unexpected file.
  int WholePieces() const {
    int whole = 0;
    if (separate) {
      if (!std::filesystem::exists(dir.path() / "Export1")) return 0;
      const std::vector<std::string> names = dir.list("Export1");
      for (int i = 0; i < static_cast<int>(names.size()); ++i) {
        EXPECT_EQ(names[i], NameOf(i));
        EXPECT_TRUE(dir.read("Export1/" + names[i]) == PieceOf(i))
            << names[i] << " is not its whole piece";
      }
      return static_cast<int>(names.size());
    }
    if (!std::filesystem::exists(dir.path() / "Export1.htm")) return 0;
    const std::string collected = dir.read("Export1.htm");
    EXPECT_EQ(collected.size() % kPieceSize, 0u) << "a partial piece";
    for (; (whole + 1) * kPieceSize <= collected.size(); ++whole) {
      EXPECT_TRUE(collected.compare(whole * kPieceSize, kPieceSize,
                                    PieceOf(whole)) == 0)
          << "piece " << whole;
    }
    return whole;
  }

  TempFolder dir;
  bool separate;
  std::vector<std::string> args;
};

// The first signal stops the run between two files; the log, the output's
// name and the summary are told before the program ends by the signal.
TEST(SignalTest, AStopSignalEndsTheRunBetweenPieces) {
  struct Case {
    int signal;
    bool separate;
  };
  for (const Case c :
       {Case{SIGINT, false}, Case{SIGTERM, true}, Case{SIGHUP, false}}) {
    SCOPED_TRACE(::testing::Message()
                 << "signal " << c.signal << (c.separate ? ", separate" : ""));
    LargeRun large(c.separate);
    CliProcess process(large.args);
    if (!large.WaitForOutput()) {
      ::kill(process.pid(), SIGKILL);
      process.Finish();
      FAIL() << "the run wrote no output";
    }
    ASSERT_EQ(::kill(process.pid(), c.signal), 0);
    const Outcome run = process.Finish();

    EXPECT_EQ(run.status, -128 - c.signal);
    const int whole = large.WholePieces();
    EXPECT_GE(whole, 1);
    EXPECT_LT(whole, kPages);
    EXPECT_EQ(run.out,
              "Stopped by the user.\nOutput: " + large.dir.path().string() +
                  (c.separate ? "/Export1" : "/Export1.htm") + "\n" +
                  std::to_string(whole) + " checked, 0 didn't find.\n");
  }
}

// A second signal ends the program at once; what it was writing goes, so
// that the output still holds whole pieces only.
TEST(SignalTest, ASecondSignalEndsAtOnceWithWholePiecesOnly) {
  struct Case {
    int first, second;
    bool separate;
  };
  for (const Case c : {Case{SIGINT, SIGINT, false}, Case{SIGINT, SIGTERM, true},
                       Case{SIGTERM, SIGHUP, false}}) {
    SCOPED_TRACE(::testing::Message()
                 << "signals " << c.first << ", " << c.second
                 << (c.separate ? ", separate" : ""));
    LargeRun large(c.separate);
    CliProcess process(large.args);
    if (!large.WaitForOutput()) {
      ::kill(process.pid(), SIGKILL);
      process.Finish();
      FAIL() << "the run wrote no output";
    }
    ASSERT_EQ(::kill(process.pid(), c.first), 0);
    // Two of one signal sent at once may come as one.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(::kill(process.pid(), c.second), 0);
    const Outcome run = process.Finish();

    // The run may have come to the end of its piece, stopped and ended on
    // the first signal before the second came; either way it ended by a
    // signal, with whole pieces only.
    EXPECT_TRUE(run.status == -128 - c.second || run.status == -128 - c.first)
        << run.status;
    EXPECT_LT(large.WholePieces(), kPages);
  }
}

}  // namespace
}  // namespace vantrel
