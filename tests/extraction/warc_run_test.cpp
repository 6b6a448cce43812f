// Runs over web archives through the recording sink: an archive given
// alone and archives found in a folder, read page by page in record order,
// pages named by their URIs, a bad record logged and passed over, an
// archive that cannot be opened passed over with --keep-going, and the
// outputs that name pages (JSON lines, separate files).
#include <gtest/gtest.h>
#include <sched.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "extraction/run.h"
#include "extraction/suggest/page_reading.h"
#include "extraction/text/text.h"
#include "tests/support/fault_plan.h"
#include "tests/support/pages.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_folder.h"
#include "tests/support/warc_writer.h"

namespace vantrel {
namespace {

using testing::Gzip;
using testing::HttpResponse;
using testing::Page;
using testing::WarcRecord;

WarcRecord PageRecord(
    const std::string& uri, const std::string& body,
    const std::string& headers = "Content-Type: text/html\r\n") {
  return {"response", uri, "application/http; msgtype=response",
          HttpResponse(headers, body), "<urn:" + uri + ">"};
}

class WarcRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    inputs = testing::StartupInputs(dir.text());
    inputs.files.web_archives = true;
  }
  void TearDown() override { testing::ClearFault(); }

  // The archive `name` in the folder, a gzip member per record.
  std::string Archive(const std::string& name,
                      const std::vector<WarcRecord>& records) {
    dir.create(name, testing::WarcFile(records, true));
    return (dir.path() / name).string();
  }

  testing::TempFolder dir;
  RunInputs inputs;
  testing::RecordingSink sink;
};

TEST_F(WarcRunTest, ArchiveGivenAloneGivesItsPagesInRecordOrder) {
  WarcRecord broken = PageRecord("http://h/3", "x");
  broken.block = "HTTP/1.1 200 OK\r\nbroken\r\n\r\nx";
  const std::vector<WarcRecord> records = {
      {"warcinfo", "", "application/warc-fields", "software: test\r\n"},
      PageRecord("http://h/1", Page("one")),
      PageRecord("http://h/2", "<p>no markers</p>"),
      broken,
      PageRecord("http://h/img", "GIF89a", "Content-Type: image/gif\r\n"),
      PageRecord("http://h/4", Page("four")),
  };
  const std::string path = Archive("crawl.warc.gz", records);
  std::size_t broken_at = 0;
  for (std::size_t i = 0; i < 3; ++i) {
    broken_at += Gzip(testing::WarcBytes(records[i])).size();
  }
  inputs.files.origin = WebArchive{path};

  // Read ahead on a second thread, and where the run may use only one
  // processor, by the run itself.
  for (const bool one_processor : {false, true}) {
    SCOPED_TRACE(one_processor ? "one processor" : "read ahead");
    cpu_set_t all, one;
    ASSERT_EQ(::sched_getaffinity(0, sizeof all, &all), 0);
    CPU_ZERO(&one);
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
      if (CPU_ISSET(cpu, &all)) {
        CPU_SET(cpu, &one);
        break;
      }
    }
    if (one_processor) {
      ASSERT_EQ(::sched_setaffinity(0, sizeof one, &one), 0);
    }
    sink = {};
    std::filesystem::remove(dir.path() / "Export1.htm");
    const RunResult result = RunExtraction(inputs, {}, sink);
    ::sched_setaffinity(0, sizeof all, &all);

    EXPECT_EQ(sink.transcript,
              "started\npiece 1 of 1\nlog \"Haven't start: http://h/2\"\n"
              "log \"Bad record: " +
                  path + ": offset " + std::to_string(broken_at) +
                  ": corrupt HTTP header: a line that is not a header\"\n"
                  "piece 2 of 3\nsummary \"3 checked, 1 didn't find.\"\n"
                  "finished\n");
    EXPECT_EQ(result.unreadable, 1);
    EXPECT_EQ(dir.read("Export1.htm"), "onefour");
  }
}

TEST_F(WarcRunTest, ArchivesOfAFolderInNameOrderWithJsonLines) {
  Archive("b.warc.gz", {PageRecord("http://h/b", Page("bee"))});
  Archive("A.WARC.GZ", {PageRecord("http://h/a?q=1", Page("ay"))});
  dir.create("plain.warc",
             testing::WarcFile({PageRecord("http://h/c", Page("sea"))}, false));
  dir.create("page.htm", Page("not read"));
  inputs.files.extensions = {u"warc.gz", u"warc"};
  RunOptions options;
  options.output.kind = OutputKind::kJsonLines;

  RunExtraction(inputs, options, sink);

  EXPECT_EQ(sink.transcript,
            "started\npiece 1 of 1\npiece 2 of 2\npiece 3 of 3\n"
            "summary \"3 checked, 0 didn't find.\"\nfinished\n");
  const auto line = [](const std::string& uri, const std::string& piece) {
    return "{\"file\":\"" + uri + "\",\"warc_record_id\":\"<urn:" + uri +
           ">\",\"date\":\"2026-12-07T10:00:00Z\",\"piece\":\"" + piece +
           "\"}\n";
  };
  EXPECT_EQ(dir.read("Export1.jsonl"), line("http://h/a?q=1", "ay") +
                                           line("http://h/b", "bee") +
                                           line("http://h/c", "sea"));
}

TEST_F(WarcRunTest, SeparateFilesAreNamedFromTheUris) {
  const std::string path =
      Archive("crawl.warc", {PageRecord("http://h/", Page("home")),
                             PageRecord("http://h/../x/p?a=1", Page("p")),
                             PageRecord("http://H/", Page("again"))});
  inputs.files.origin = WebArchive{path};
  inputs.separate = true;

  RunExtraction(inputs, {}, sink);

  EXPECT_EQ(dir.read("Export1/h/index.htm"), "home");
  EXPECT_EQ(dir.read("Export1/h/_../x/p~e650e41904922b36.htm"), "p")
      << sink.transcript;
  EXPECT_EQ(dir.read("Export1/h/index (2).htm"), "again");
}

TEST_F(WarcRunTest, AnArchiveThatCannotBeOpenedIsPassedOverWithKeepGoing) {
  Archive("a.warc.gz", {PageRecord("http://h/a", Page("a"))});
  const std::string b =
      Archive("b.warc.gz", {PageRecord("http://h/b", Page("b"))});
  Archive("c.warc.gz", {PageRecord("http://h/c", Page("c"))});
  inputs.files.extensions = {u"warc.gz"};
  testing::InjectFaultOn(fs::Operation::kOpen, b, 1, EACCES);
  RunOptions options;
  options.keep_going = true;

  const RunResult result = RunExtraction(inputs, options, sink);

  EXPECT_EQ(sink.transcript,
            "started\npiece 1 of 1\n"
            "log \"Can't open: b.warc.gz: Permission denied\"\n"
            "piece 2 of 3\nsummary \"3 checked, 1 didn't find.\"\nfinished\n");
  EXPECT_EQ(result.unreadable, 1);
  EXPECT_EQ(dir.read("Export1.htm"), "ac");
}

TEST_F(WarcRunTest, DetectionTakesTheCharsetOfTheHttpHeader) {
  // "Privet" in windows-1251, which the page's bytes alone do not tell.
  const std::string cyrillic = "\xcf\xf0\xe8\xe2\xe5\xf2";
  const std::string path = Archive(
      "crawl.warc.gz",
      {PageRecord("http://h/ru", Page(cyrillic),
                  "Content-Type: text/html; charset=windows-1251\r\n"),
       PageRecord("http://h/ar", Page("\xc7\xe1\xd3\xe1\xc7\xe3"),
                  "Content-Type: text/html; charset=windows-1256\r\n")});
  inputs.files.origin = WebArchive{path};
  inputs.files.charset = CharsetOfEachFile{};

  RunExtraction(inputs, {}, sink);

  const std::string out = dir.read("Export1.htm");
  const std::u16string text(reinterpret_cast<const char16_t*>(out.data() + 2),
                            (out.size() - 2) / 2);
  EXPECT_EQ(text,
            u"\u041f\u0440\u0438\u0432\u0435\u0442"
            u"\u0627\u0644\u0633\u0644\u0627\u0645");
}

TEST_F(WarcRunTest, SuggestionReadsTheFirstPagesOfTheArchives) {
  std::vector<WarcRecord> records;
  for (std::size_t i = 0; i < PageReader::kSamplePages + 5; ++i) {
    records.push_back(
        PageRecord("http://h/" + std::to_string(i), Page(std::to_string(i))));
    records.push_back(
        PageRecord("http://h/i", "GIF", "Content-Type: image/gif\r\n"));
  }
  inputs.files.origin = WebArchive{Archive("crawl.warc.gz", records)};

  PageReader reader(inputs.files);

  ASSERT_EQ(reader.size(), PageReader::kSamplePages);
  std::size_t visited = 0;
  reader.ForEach([&](std::size_t index, std::u16string_view text) {
    EXPECT_NE(text.find(u"Matn>\r\n" + Utf8ToText(std::to_string(index)) +
                        u"   </p>"),
              std::u16string_view::npos);
    return ++visited < 3;
  });
  EXPECT_EQ(visited, 3u);
  EXPECT_NE(reader.Read(7).find(u">\r\n7   </p>"), std::u16string::npos);
}

}  // namespace
}  // namespace vantrel
