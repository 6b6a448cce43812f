// The HTTP layer of a WARC response record: the status line and headers
// that wget or a crawler stored before the page, and the codings of the
// body as it came over the wire (chunked transfer coding, gzip or deflate
// content coding), undone here so that a page reads as the server meant it.
#ifndef VANTREL_EXTRACTION_SOURCE_WARC_HTTP_PAYLOAD_H_
#define VANTREL_EXTRACTION_SOURCE_WARC_HTTP_PAYLOAD_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel::warc {

// A media type as a Content-Type header gives it.
struct MediaType {
  bool html = false;    // text/html or application/xhtml+xml
  std::string charset;  // its charset parameter, as given; empty if none
};
MediaType ParseMediaType(std::string_view content_type);

// The status line and headers of a response.
struct HttpHead {
  std::size_t length = 0;  // bytes up to and with the empty line
  std::string content_type;
  std::string transfer_encoding;
  std::string content_encoding;
};

// The head at the start of `block`; nothing, and `reason`, when it is not
// a well-formed HTTP response head.
std::optional<HttpHead> ParseHttpHead(std::string_view block,
                                      std::string& reason);

// The body as the server meant it, into `out`: the transfer and content
// codings of `head` undone, never more than `limit` bytes. False, and
// `reason`, when a coding is broken or unknown or the result is too large.
bool DecodeHttpBody(const HttpHead& head, std::string_view body,
                    std::size_t limit, std::string& out, std::string& reason);

}  // namespace vantrel::warc

#endif  // VANTREL_EXTRACTION_SOURCE_WARC_HTTP_PAYLOAD_H_
