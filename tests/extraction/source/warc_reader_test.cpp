// The WARC reader, over archives made from fixed bytes by the tests' own
// writer: which records are pages and what each page reads as, in every
// packing (plain, a gzip member per record, one member for the whole
// file), and what a damaged archive gives: one problem for each damaged
// record, named by its offset, and the records behind it still read.
#include "extraction/source/warc/warc_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "extraction/source/warc/http_payload.h"
#include "tests/support/warc_writer.h"

namespace vantrel::warc {
namespace {

using testing::Chunked;
using testing::Gzip;
using testing::HttpResponse;
using testing::WarcFile;
using testing::WarcRecord;

// Everything the reader gives, one line per item.
std::string Transcript(std::string_view archive, WarcLimits limits = {}) {
  MemoryInput input(archive);
  WarcReader reader(input, limits);
  WarcPage page;
  WarcProblem problem;
  std::string transcript;
  for (;;) {
    switch (reader.Next(page, problem)) {
      case WarcReader::Item::kPage:
        transcript += "page @" + std::to_string(page.offset) + " " + page.uri +
                      " " + page.record_id + " " + page.date + " [" +
                      page.charset + "] " + page.body + "\n";
        break;
      case WarcReader::Item::kProblem:
        transcript += "problem @" + std::to_string(problem.offset) + " " +
                      problem.reason + "\n";
        break;
      case WarcReader::Item::kEnd:
        return transcript;
    }
  }
}

WarcRecord Page(std::string uri, std::string body, std::string id = "<p>") {
  return {"response", std::move(uri), "application/http; msgtype=response",
          HttpResponse("Content-Type: text/html\r\n", body), std::move(id)};
}

const std::string kArabic = "\xc7\xe1\xd3\xe1\xc7\xe3";  // windows-1256

std::vector<WarcRecord> Crawl() {
  return {
      {"warcinfo", "", "application/warc-fields", "software: test\r\n"},
      {"request", "http://a.example/one", "application/http", "GET /one"},
      Page("http://a.example/one", "<p>one</p>", "<id1>"),
      {"metadata", "http://a.example/one", "application/warc-fields", "x"},
      {"response", "http://a.example/two", "application/http",
       HttpResponse("Transfer-Encoding: chunked\r\n"
                    "Content-Type: text/html; charset=utf-8\r\n",
                    Chunked("<p>two, in chunks</p>", 5)),
       "<id2>"},
      {"response", "http://a.example/logo.png", "application/http",
       HttpResponse("Content-Type: image/png\r\n", "\x89PNG")},
      {"response", "http://a.example/three", "application/http",
       HttpResponse("Content-Encoding: gzip\r\n"
                    "Content-Type: application/xhtml+xml\r\n",
                    Gzip("<p>three, gzipped</p>")),
       "<id3>"},
      {"response", "http://a.example/four", "application/http",
       HttpResponse("Content-Type: text/html; charset=\"windows-1256\"\r\n",
                    "<p>" + kArabic + "</p>"),
       "<id4>"},
      {"resource", "file:///five.htm", "text/html", "<p>five</p>", "<id5>"},
      {"resource", "file:///notes.txt", "text/plain", "not a page"},
  };
}

std::string CrawlPages(const std::vector<std::size_t>& offsets) {
  const auto at = [&](std::size_t record) {
    return "page @" + std::to_string(offsets[record]) + " ";
  };
  const std::string date = " 2026-12-07T10:00:00Z ";
  return at(2) + "http://a.example/one <id1>" + date + "[] <p>one</p>\n" +
         at(4) + "http://a.example/two <id2>" + date +
         "[utf-8] <p>two, in chunks</p>\n" + at(6) +
         "http://a.example/three <id3>" + date + "[] <p>three, gzipped</p>\n" +
         at(7) + "http://a.example/four <id4>" + date + "[windows-1256] <p>" +
         kArabic + "</p>\n" + at(8) + "file:///five.htm <id5>" + date +
         "[] <p>five</p>\n";
}

TEST(WarcReaderTest, ReadsThePagesOfEveryPacking) {
  std::vector<std::size_t> plain_offsets, member_offsets;
  const std::string plain = WarcFile(Crawl(), false, &plain_offsets);
  EXPECT_EQ(Transcript(plain), CrawlPages(plain_offsets));
  const std::string members = WarcFile(Crawl(), true, &member_offsets);
  EXPECT_EQ(Transcript(members), CrawlPages(member_offsets));
  // One member for the whole file: records are named by content offset.
  EXPECT_EQ(Transcript(Gzip(plain)), CrawlPages(plain_offsets));
}

TEST(WarcReaderTest, ReadsAcrossItsReadPieces) {
  // Pages larger than one read of the archive, so that records and their
  // headers straddle the reads.
  std::vector<WarcRecord> records;
  std::string expected;
  for (int i = 0; i < 6; ++i) {
    const std::string body(100000 + i * 7919, static_cast<char>('a' + i));
    records.push_back(Page("http://b.example/" + std::to_string(i), body));
  }
  std::vector<std::size_t> offsets;
  const std::string archive = WarcFile(records, true, &offsets);
  for (int i = 0; i < 6; ++i) {
    expected += "page @" + std::to_string(offsets[i]) + " http://b.example/" +
                std::to_string(i) + " <p> 2026-12-07T10:00:00Z [] " +
                records[i].block.substr(records[i].block.find("\r\n\r\n") + 4) +
                "\n";
  }
  EXPECT_EQ(Transcript(archive), expected);
}

TEST(WarcReaderTest, DamageCostsOnlyTheRecordItHits) {
  const std::string a = testing::WarcBytes(Page("http://c/a", "A"));
  const std::string b = testing::WarcBytes(Page("http://c/b", "B"));
  const std::string c = testing::WarcBytes(Page("http://c/c", "C"));
  const std::string ga = Gzip(a), gb = Gzip(b), gc = Gzip(c);
  const std::string at_b = std::to_string(ga.size());
  const std::string at_c = std::to_string(ga.size() + gb.size());
  const std::string plain_b = std::to_string(a.size());
  const std::string page_a =
      "page @0 http://c/a <p> 2026-12-07T10:00:00Z [] A\n";
  const std::string page_c_gz =
      "page @" + at_c + " http://c/c <p> 2026-12-07T10:00:00Z [] C\n";
  // Page C behind A and a broken record in a plain archive.
  const auto page_c_plain = [&](const WarcRecord& broken) {
    return "page @" +
           std::to_string(a.size() + testing::WarcBytes(broken).size()) +
           " http://c/c <p> 2026-12-07T10:00:00Z [] C\n";
  };
  std::string corrupt = gb;
  corrupt[gb.size() / 2] = static_cast<char>(corrupt[gb.size() / 2] ^ 0x55);
  WarcRecord short_length = Page("http://c/b", "B");
  short_length.length = std::to_string(short_length.block.size() - 3);
  WarcRecord long_length = Page("http://c/b", "B");
  long_length.length = std::to_string(long_length.block.size() + 40);
  WarcRecord bad_length = Page("http://c/b", "B");
  bad_length.length = "12x";
  WarcRecord bad_http = Page("http://c/b", "B");
  bad_http.block = "HTTP/1.1 200 OK\r\nContent-Type text/html\r\n\r\nB";
  WarcRecord no_status = Page("http://c/b", "B");
  no_status.block = "Content-Type: text/html\r\n\r\nB";
  WarcRecord bad_coding = Page("http://c/b", "B");
  bad_coding.block = HttpResponse(
      "Content-Type: text/html\r\nContent-Encoding: gzip\r\n", "not gzip");
  WarcRecord bad_chunks = Page("http://c/b", "B");
  bad_chunks.block = HttpResponse(
      "Content-Type: text/html\r\nTransfer-Encoding: chunked\r\n", "zz\r\nB");
  WarcRecord revisit = Page("http://c/b", "B");
  revisit.type = "revisit";
  WarcRecord continuation = Page("http://c/b", "B");
  continuation.type = "continuation";
  WarcRecord unknown = Page("http://c/b", "B");
  unknown.type = "snapshot";
  WarcRecord big = Page("http://c/big", std::string(5000, 'x'));
  WarcRecord big_image = big;
  big_image.block =
      HttpResponse("Content-Type: image/png\r\n", std::string(5000, 'x'));

  const std::string b_plain = "problem @" + plain_b + " ";
  const struct {
    const char* name;
    std::string archive;
    std::string expected;
  } cases[] = {
      {"truncated last member", ga + gb.substr(0, gb.size() / 2),
       page_a + "problem @" + at_b + " gzip member cut short\n"},
      {"truncated member before another", ga + gb.substr(0, gb.size() / 2) + gc,
       page_a + "problem @" + at_b + " gzip data corrupt\n" + "page @" +
           std::to_string(ga.size() + gb.size() / 2) +
           " http://c/c <p> 2026-12-07T10:00:00Z [] C\n"},
      {"corrupt member", ga + corrupt + gc,
       page_a + "problem @" + at_b + " gzip data corrupt\n" + page_c_gz},
      {"bytes between members", ga + "junk" + gc,
       page_a + "problem @" + at_b + " bytes that are not a gzip member\n" +
           "page @" + std::to_string(ga.size() + 4) +
           " http://c/c <p> 2026-12-07T10:00:00Z [] C\n"},
      {"length too short", a + testing::WarcBytes(short_length) + c,
       page_a + b_plain + "Content-Length " + *short_length.length +
           " does not end where the record does\n" +
           page_c_plain(short_length)},
      {"length too long", a + testing::WarcBytes(long_length) + c,
       page_a + b_plain + "Content-Length " + *long_length.length +
           " does not end where the record does\n" + page_c_plain(long_length)},
      {"length unreadable", a + testing::WarcBytes(bad_length) + c,
       page_a + b_plain + "record header without a readable Content-Length\n" +
           page_c_plain(bad_length)},
      {"length past the end", a + testing::WarcBytes(long_length),
       page_a + b_plain + "record cut short: its Content-Length " +
           *long_length.length + " runs past the end of the archive\n"},
      {"not an archive", "<html>a page</html>",
       "problem @0 not the start of a WARC record\n"},
      {"corrupt HTTP header", a + testing::WarcBytes(bad_http) + c,
       page_a + b_plain + "corrupt HTTP header: a line that is not a header\n" +
           page_c_plain(bad_http)},
      {"no HTTP status line", a + testing::WarcBytes(no_status) + c,
       page_a + b_plain + "corrupt HTTP header: no status line\n" +
           page_c_plain(no_status)},
      {"corrupt content coding", a + testing::WarcBytes(bad_coding) + c,
       page_a + b_plain + "gzip content coding corrupt\n" +
           page_c_plain(bad_coding)},
      {"corrupt chunks", a + testing::WarcBytes(bad_chunks) + c,
       page_a + b_plain + "chunk size unreadable\n" + page_c_plain(bad_chunks)},
      {"skipped kinds",
       a + testing::WarcBytes(revisit) + testing::WarcBytes(continuation) +
           testing::WarcBytes(unknown),
       page_a + b_plain +
           "revisit record skipped: its page is stored in an earlier "
           "record\n" +
           "problem @" +
           std::to_string(a.size() + testing::WarcBytes(revisit).size()) +
           " continuation record skipped: segmented records are not read\n" +
           "problem @" +
           std::to_string(a.size() + testing::WarcBytes(revisit).size() +
                          testing::WarcBytes(continuation).size()) +
           " record of type \"snapshot\" skipped\n"},
      {"page larger than the limit",
       a + testing::WarcBytes(big) + testing::WarcBytes(big_image) + c,
       page_a + b_plain + "page of " + std::to_string(big.block.size()) +
           " bytes larger than the limit of 4096 bytes\n" + "page @" +
           std::to_string(a.size() + testing::WarcBytes(big).size() +
                          testing::WarcBytes(big_image).size()) +
           " http://c/c <p> 2026-12-07T10:00:00Z [] C\n"},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.name);
    EXPECT_EQ(Transcript(test.archive, {.max_record = 4096}), test.expected);
  }
}

TEST(HttpPayloadTest, MediaTypes) {
  const struct {
    const char* content_type;
    bool html;
    const char* charset;
  } cases[] = {
      {"text/html", true, ""},
      {"TEXT/HTML ; Charset=\"Windows-1256\"", true, "Windows-1256"},
      {"application/xhtml+xml;charset=utf-8", true, "utf-8"},
      {"text/htmlx", false, ""},
      {"text/plain; charset=utf-8", false, "utf-8"},
      {"", false, ""},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.content_type);
    const MediaType media = ParseMediaType(test.content_type);
    EXPECT_EQ(media.html, test.html);
    EXPECT_EQ(media.charset, test.charset);
  }
}

TEST(HttpPayloadTest, UndoesCodingsInReverseOrder) {
  std::string reason, out;
  const std::string body = Chunked(Gzip(Gzip("<p>twice</p>")), 7);
  const auto head =
      ParseHttpHead(HttpResponse("Content-Encoding: gzip\r\n"
                                 "Transfer-Encoding: gzip,\r\n chunked\r\n",
                                 body),
                    reason);
  ASSERT_TRUE(head) << reason;
  ASSERT_TRUE(DecodeHttpBody(*head, body, 1000, out, reason)) << reason;
  EXPECT_EQ(out, "<p>twice</p>");
  EXPECT_FALSE(DecodeHttpBody(*head, body, 5, out, reason));
  EXPECT_EQ(reason, "page larger than the limit of 5 bytes");
}

}  // namespace
}  // namespace vantrel::warc
