// A tiny WARC writer for tests: records from fixed bytes, laid out as wget
// writes them (WARC/1.0, the target URI in angle brackets, CR LF line
// breaks), plain or gzip-compressed one member per record.
#ifndef VANTREL_TESTS_SUPPORT_WARC_WRITER_H_
#define VANTREL_TESTS_SUPPORT_WARC_WRITER_H_

#include <zlib.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantrel::testing {

struct WarcRecord {
  WarcRecord(
      std::string type_, std::string uri_, std::string content_type_,
      std::string block_,
      std::string id_ = "<urn:uuid:00000000-0000-0000-0000-000000000000>")
      : type(std::move(type_)),
        uri(std::move(uri_)),
        content_type(std::move(content_type_)),
        block(std::move(block_)),
        id(std::move(id_)) {}
  std::string type;
  std::string uri;
  std::string content_type;
  std::string block;
  std::string id;
  std::string date = "2026-12-07T10:00:00Z";
  // A Content-Length other than the block's, to make a broken record.
  std::optional<std::string> length;
};

inline std::string WarcBytes(const WarcRecord& record) {
  std::string bytes = "WARC/1.0\r\nWARC-Type: " + record.type + "\r\n";
  if (!record.uri.empty()) bytes += "WARC-Target-URI: <" + record.uri + ">\r\n";
  bytes += "WARC-Date: " + record.date + "\r\n";
  bytes += "WARC-Record-ID: " + record.id + "\r\n";
  if (!record.content_type.empty()) {
    bytes += "Content-Type: " + record.content_type + "\r\n";
  }
  bytes += "Content-Length: " +
           record.length.value_or(std::to_string(record.block.size())) +
           "\r\n\r\n" + record.block + "\r\n\r\n";
  return bytes;
}

// An HTTP response block: status line, headers, empty line, body.
inline std::string HttpResponse(std::string_view headers,
                                std::string_view body) {
  return "HTTP/1.1 200 OK\r\n" + std::string(headers) + "\r\n" +
         std::string(body);
}

// `bytes` as one gzip member.
inline std::string Gzip(std::string_view bytes) {
  z_stream z{};
  deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8,
               Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, bytes.size()), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  z.avail_in = static_cast<uInt>(bytes.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

// `bytes` in chunked transfer coding, in chunks of `size`.
inline std::string Chunked(std::string_view bytes, std::size_t size) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  for (std::size_t at = 0; at < bytes.size(); at += size) {
    const std::string_view chunk = bytes.substr(at, size);
    std::string length;
    for (std::size_t n = chunk.size(); n > 0; n /= 16) {
      length.insert(length.begin(), kHex[n % 16]);
    }
    out += length + ";ext=1\r\n" + std::string(chunk) + "\r\n";
  }
  return out + "0\r\n\r\n";
}

// The records as one archive: plain, or a gzip member per record, whose
// file offsets go into `offsets` when given.
inline std::string WarcFile(const std::vector<WarcRecord>& records, bool gzip,
                            std::vector<std::size_t>* offsets = nullptr) {
  std::string file;
  for (const WarcRecord& record : records) {
    if (offsets != nullptr) offsets->push_back(file.size());
    file += gzip ? Gzip(WarcBytes(record)) : WarcBytes(record);
  }
  return file;
}

}  // namespace vantrel::testing

#endif  // VANTREL_TESTS_SUPPORT_WARC_WRITER_H_
