// Reads arbitrary bytes as a web archive and checks what must hold whatever
// the bytes are: the reader ends, gives no page larger than its limit, and
// reads the bytes compressed as one gzip member exactly as it reads them
// plain (a record in a single-member archive is named by its content
// offset, as in a plain one).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "extraction/source/warc/warc_reader.h"
#include "fuzz/fuzz_check.h"
#include "tests/support/warc_writer.h"

using vantrel::fuzz::Check;

namespace {

constexpr vantrel::warc::WarcLimits kLimits{.max_record = 4096,
                                            .max_header = 1024};

std::string Transcript(std::string_view archive) {
  using vantrel::warc::WarcReader;
  vantrel::warc::MemoryInput input(archive);
  WarcReader reader(input, kLimits);
  vantrel::warc::WarcPage page;
  vantrel::warc::WarcProblem problem;
  std::string transcript;
  std::size_t items = 0;
  for (;;) {
    Check(++items <= archive.size() + 2, "one item at least per byte read");
    switch (reader.Next(page, problem)) {
      case WarcReader::Item::kPage:
        Check(page.body.size() <= kLimits.max_record, "page within the limit");
        transcript += "page " + std::to_string(page.offset) + " " + page.uri +
                      " " + page.charset + " " + page.body + "\n";
        break;
      case WarcReader::Item::kProblem:
        transcript += "problem " + std::to_string(problem.offset) + " " +
                      problem.reason + "\n";
        break;
      case WarcReader::Item::kEnd:
        return transcript;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string plain = Transcript(bytes);
  if (!bytes.starts_with("\x1f\x8b")) {
    Check(Transcript(vantrel::testing::Gzip(bytes)) == plain,
          "read the same compressed as plain");
  }
  return 0;
}
