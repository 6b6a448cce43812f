#include "extraction/source/source_reading.h"

#include "extraction/source/warc/web_archive.h"
#include "extraction/sys/file_system.h"

namespace vantrel {
namespace {

// The probe is 100 bytes, though only the first three decide.
constexpr std::size_t kProbeSize = 100;

}  // namespace

Charset TestFile(const std::filesystem::path& path) {
  return DetectCharset(fs::ReadStart(path, kProbeSize));
}

Charset TestFile(SourceOpener& opener, const SourceItem& item) {
  return DetectCharset(opener.ReadStart(item, kProbeSize));
}

std::optional<Charset> TestFirstPage(SourceOpener& opener,
                                     const SourceItem& item) {
  warc::ArchiveCursor cursor(opener.Open(item));
  for (;;) {
    switch (cursor.Next()) {
      case warc::WarcReader::Item::kPage:
        return DetectCharset(
            std::string_view(cursor.page().body).substr(0, kProbeSize));
      case warc::WarcReader::Item::kProblem:
        continue;
      case warc::WarcReader::Item::kEnd:
        return std::nullopt;
    }
  }
}

}  // namespace vantrel
