// vantrel-cli over web archives as a program: an archive given alone makes
// its output beside it (or in --out), a record passed over ends the run
// with status 2 after the summary, and an archive without a page is told.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/cli/cli_process.h"
#include "tests/support/pages.h"
#include "tests/support/temp_folder.h"
#include "tests/support/warc_writer.h"

namespace vantrel {
namespace {

using testing::Outcome;
using testing::RunCli;
using testing::TempFolder;
using testing::WarcRecord;

WarcRecord Response(const std::string& uri, const std::string& block) {
  return {"response", uri, "application/http; msgtype=response", block};
}

TEST(CliWarcTest, AnArchiveGivenAloneHasItsOutputBesideIt) {
  TempFolder dir;
  const std::string good = testing::HttpResponse("Content-Type: text/html\r\n",
                                                 testing::Page("one\r\n"));
  dir.create("crawls/site.warc",
             testing::WarcFile(
                 {Response("http://h/1", good), Response("http://h/2",
                                                         "HTTP/1.1 200 OK\r\n"
                                                         "no header\r\n\r\nx")},
                 false));
  dir.create("out/.keep", "");
  const std::string archive = (dir.path() / "crawls/site.warc").string();
  const std::size_t second =
      testing::WarcBytes(Response("http://h/1", good)).size();

  for (const bool out : {false, true}) {
    std::vector<std::string> args = {"--quiet", archive};
    if (out)
      args.insert(args.begin(), {"--out", (dir.path() / "out").string()});
    const Outcome run = RunCli(args);
    const std::string folder = (dir.path() / (out ? "out" : "crawls")).string();
    EXPECT_EQ(run.out,
              "Bad record: " + archive + ": offset " + std::to_string(second) +
                  ": corrupt HTTP header: a line that is not a header\n"
                  "Output: " +
                  folder + "/Export1.htm\n1 checked, 0 didn't find.\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(dir.read((out ? "out" : "crawls") + std::string("/Export1.htm")),
              "one\r\n");
  }
}

TEST(CliWarcTest, AnArchiveWithoutAPageIsTold) {
  TempFolder dir;
  dir.create("empty.warc.gz",
             testing::WarcFile({{"warcinfo", "", "application/warc-fields",
                                 "software: x\r\n"}},
                               false));
  const std::string archive = (dir.path() / "empty.warc.gz").string();

  const Outcome run = RunCli({archive});

  EXPECT_EQ(run.out, "0 checked, 0 didn't find.\n");
  EXPECT_EQ(run.err, "vantrel-cli: the web archive " + archive +
                         " holds no HTML page\n");
  EXPECT_EQ(run.status, 1);
}

}  // namespace
}  // namespace vantrel
