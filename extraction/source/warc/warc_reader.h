// The pages of a web archive (WARC, ISO 28500), one record at a time, in
// record order, from a `.warc` or `.warc.gz` file.
//
// A page is a `response` record whose HTTP payload is HTML (`text/html`,
// `application/xhtml+xml`), with its HTTP head stripped and its transfer
// and content codings undone, or a `resource` record of such a type. Its
// name is the record's WARC-Target-URI; its record id, date and the
// charset its Content-Type declares go with it.
//
// The reader is our own, over zlib, rather than libarchive's WARC format:
// libarchive gives a record's target URI and date but not its record id,
// nor where a record lies in the file; it reads a `.warc.gz` as one gzip
// stream, so a broken member ends the archive instead of the one record;
// and a record header it cannot read is an error for the whole archive.
// Here damage costs only the record it hits: the reader says where
// (the file offset of the record's gzip member, or of the record in a
// plain or single-member archive) and why, and goes on with the next
// record.
//
// Memory stays bounded by the largest record read, never the archive: a
// record longer than `max_record` is passed over as it is read, and a page
// in it is reported as too large.
#ifndef VANTREL_EXTRACTION_SOURCE_WARC_WARC_READER_H_
#define VANTREL_EXTRACTION_SOURCE_WARC_WARC_READER_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "extraction/source/warc/archive_stream.h"

namespace vantrel::warc {

struct WarcLimits {
  // The longest record block held in memory, and the largest page.
  std::size_t max_record = 16 * 1024 * 1024;
  // The longest record header.
  std::size_t max_header = 64 * 1024;
};

// A page read from an archive.
struct WarcPage {
  std::string uri;        // WARC-Target-URI
  std::string record_id;  // WARC-Record-ID, with its angle brackets
  std::string date;       // WARC-Date
  std::string charset;    // the charset its Content-Type declares, if any
  std::string body;       // the page's bytes
  std::uint64_t offset = 0;
};

// A record, or bytes, that could not be read.
struct WarcProblem {
  std::uint64_t offset = 0;
  std::string reason;
};

class WarcReader {
 public:
  enum class Item { kPage, kProblem, kEnd };

  explicit WarcReader(ByteInput& input, WarcLimits limits = {});

  // The next page or problem, into `page` or `problem` (their memory is
  // reused); kEnd when the archive is done.
  Item Next(WarcPage& page, WarcProblem& problem);

 private:
  bool Fill(std::size_t count);
  void Consume(std::size_t count);
  void Discard(std::uint64_t count);
  bool Resync(std::size_t from);
  std::uint64_t OffsetOf(std::uint64_t at) const;
  bool TakeDamage(std::uint64_t end, bool with_end, std::string& reason);
  Item Fail(WarcProblem& problem, std::uint64_t offset, std::string reason,
            std::size_t resync_from);

  ArchiveStream stream_;
  WarcLimits limits_;
  std::string buffer_;
  std::size_t begin_ = 0;  // first byte held
  std::size_t end_ = 0;    // behind the last byte held
  std::uint64_t at_ = 0;   // the content offset of buffer_[begin_]
  bool ended_ = false;
};

}  // namespace vantrel::warc

#endif  // VANTREL_EXTRACTION_SOURCE_WARC_WARC_READER_H_
