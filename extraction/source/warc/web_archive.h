// A web archive among a run's sources: which sources are archives, and a
// cursor over one archive's pages that the run's reader keeps open between
// two pages.
#ifndef VANTREL_EXTRACTION_SOURCE_WARC_WEB_ARCHIVE_H_
#define VANTREL_EXTRACTION_SOURCE_WARC_WEB_ARCHIVE_H_

#include <memory>
#include <string_view>

#include "extraction/source/warc/archive_stream.h"
#include "extraction/source/warc/warc_reader.h"
#include "extraction/sys/file_system.h"

namespace vantrel::warc {

// Whether a source's name (or an extension) names a web archive: it ends
// in ".warc" or ".warc.gz" (or is "warc" or "warc.gz"), letter case
// ignored.
bool IsWebArchiveName(std::u16string_view name);

// The pages and problems of one open archive, in record order.
class ArchiveCursor {
 public:
  explicit ArchiveCursor(fs::SourceFile file, WarcLimits limits = {})
      : input_(std::move(file)), reader_(input_, limits) {}
  // The next page or problem, into page() or problem().
  WarcReader::Item Next() { return reader_.Next(page_, problem_); }
  WarcPage& page() { return page_; }
  const WarcProblem& problem() const { return problem_; }

 private:
  FileInput input_;
  WarcReader reader_;
  WarcPage page_;
  WarcProblem problem_;
};

}  // namespace vantrel::warc

#endif  // VANTREL_EXTRACTION_SOURCE_WARC_WEB_ARCHIVE_H_
