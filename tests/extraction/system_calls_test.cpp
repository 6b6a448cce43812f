// On a machine where a system call costs microseconds, they are most of a
// run's time. Each extracted file costs a fixed set of them: for the source
// one open, fstat, read and close; for the output one open, fstat, write and
// close. These tests pin that budget per file, in both layouts, so that an
// extra call per file cannot come back unnoticed.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "extraction/run.h"
#include "extraction/sys/operation_seam.h"
#include "tests/support/fault_plan.h"
#include "tests/support/pages.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_folder.h"

namespace vantrel {
namespace {

using Counts = std::map<fs::Operation, int>;

// The operations of one run over `pages` UTF-8 pages of `size` bytes.
Counts RunOver(int pages, bool separate, std::size_t size) {
  testing::TempFolder dir;
  for (int i = 0; i < pages; ++i) {
    // (GCC 12 warns wrongly on "p" + std::to_string(i).)
    std::string name = "p";
    name += std::to_string(i);
    name += ".htm";
    dir.create(name, std::string(testing::kUtf8Signature) +
                         testing::Page(std::string(size, 'x')));
  }
  testing::RecordingSink window;
  RunInputs inputs = testing::StartupInputs();
  inputs.folder = dir.text();
  inputs.separate = separate;
  testing::ClearFault();  // counts from here
  const RunResult result = RunExtraction(inputs, {}, window);
  EXPECT_EQ(result.successes, pages);
  Counts counts;
  for (const auto& [op, name] : fs::kOperations) {
    counts[op] = testing::OperationCount(op);
  }
  return counts;
}

TEST(SystemCallsTest, EachExtractedFileCostsItsBudgetAndNoMore) {
  // What one more extracted file adds, per layout.
  const struct {
    bool separate;
    Counts per_file;
  } cases[] = {
      // Source: open, fstat, read, close. Output: open, fstat (the file
      // exists), write, close.
      {false,
       {{fs::Operation::kOpen, 2},
        {fs::Operation::kRead, 1},
        {fs::Operation::kWrite, 1},
        {fs::Operation::kClose, 2},
        {fs::Operation::kStat, 2},
        {fs::Operation::kList, 0},
        {fs::Operation::kCreateFolder, 0}}},
      // Output: a new file each, UTF-16 with its signature: open, two
      // writes, close, and no fstat.
      {true,
       {{fs::Operation::kOpen, 2},
        {fs::Operation::kRead, 1},
        {fs::Operation::kWrite, 2},
        {fs::Operation::kClose, 2},
        {fs::Operation::kStat, 1},
        {fs::Operation::kList, 0},
        {fs::Operation::kCreateFolder, 0}}},
  };
  for (const auto& c : cases) {
    // Small pages, ones larger than any first buffer, and ones whose pieces
    // the two threads decode half each: either way one read() takes the
    // whole file and one write() the whole piece.
    for (std::size_t size : {10u, 300000u, 1500000u}) {
      const Counts three = RunOver(3, c.separate, size);
      const Counts five = RunOver(5, c.separate, size);
      for (const auto& [op, expected] : c.per_file) {
        EXPECT_EQ((five.at(op) - three.at(op)) / 2, expected)
            << "operation " << static_cast<int>(op) << ", separated "
            << c.separate << ", pages of " << size;
        EXPECT_EQ((five.at(op) - three.at(op)) % 2, 0);
      }
    }
  }
  testing::ClearFault();
}

}  // namespace
}  // namespace vantrel
