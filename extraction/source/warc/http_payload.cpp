#include "extraction/source/warc/http_payload.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "extraction/source/warc/header_fields.h"

namespace vantrel::warc {

namespace {

// The comma-separated codings of a header, lower case, "identity" left
// out.
std::vector<std::string> Codings(std::string_view header) {
  std::vector<std::string> codings;
  while (!header.empty()) {
    const std::size_t comma = header.find(',');
    const std::string coding = Lower(Trim(header.substr(0, comma)));
    if (!coding.empty() && coding != "identity") codings.push_back(coding);
    header.remove_prefix(comma == std::string_view::npos ? header.size()
                                                         : comma + 1);
  }
  return codings;
}

bool Dechunk(std::string_view body, std::size_t limit, std::string& out,
             std::string& reason) {
  out.clear();
  for (;;) {
    const std::size_t line_end = body.find('\n');
    if (line_end == std::string_view::npos) {
      reason = "chunked body cut short";
      return false;
    }
    std::string_view size_text = Trim(body.substr(0, line_end));
    size_text = Trim(size_text.substr(0, size_text.find(';')));
    std::uint64_t size = 0;
    if (size_text.empty() || size_text.size() > 15) {
      reason = "chunk size unreadable";
      return false;
    }
    for (const char c : size_text) {
      const int digit = c >= '0' && c <= '9'   ? c - '0'
                        : c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                               : -1;
      if (digit < 0) {
        reason = "chunk size unreadable";
        return false;
      }
      size = size * 16 + static_cast<std::uint64_t>(digit);
    }
    body.remove_prefix(line_end + 1);
    if (size == 0) return true;  // trailers, if any, are not wanted
    if (size > body.size()) {
      reason = "chunked body cut short";
      return false;
    }
    if (out.size() + size > limit) {
      reason =
          "page larger than the limit of " + std::to_string(limit) + " bytes";
      return false;
    }
    out.append(body.substr(0, size));
    body.remove_prefix(size);
    if (body.starts_with("\r\n")) {
      body.remove_prefix(2);
    } else if (body.starts_with("\n")) {
      body.remove_prefix(1);
    }
  }
}

// Inflates `in` (a gzip member, a zlib stream, or raw deflate, as
// `window_bits` says) into `out`.
int Inflate(std::string_view in, int window_bits, std::size_t limit,
            std::string& out) {
  z_stream z{};
  if (inflateInit2(&z, window_bits) != Z_OK) return Z_MEM_ERROR;
  out.clear();
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
  z.avail_in = static_cast<uInt>(in.size());
  int result = Z_OK;
  while (result == Z_OK) {
    if (out.size() >= limit) {
      result = Z_BUF_ERROR;
      break;
    }
    const std::size_t had = out.size();
    out.resize(std::min(limit, std::max<std::size_t>(had * 2, 64 * 1024)));
    z.next_out = reinterpret_cast<Bytef*>(out.data() + had);
    z.avail_out = static_cast<uInt>(out.size() - had);
    result = inflate(&z, Z_NO_FLUSH);
    out.resize(out.size() - z.avail_out);
    if (result == Z_BUF_ERROR && z.avail_in == 0) break;  // cut short
  }
  inflateEnd(&z);
  return result;
}

bool Undo(const std::string& coding, std::string& data, std::size_t limit,
          std::string& reason) {
  std::string out;
  int result;
  if (coding == "gzip" || coding == "x-gzip") {
    result = Inflate(data, 16 + MAX_WBITS, limit, out);
  } else if (coding == "deflate") {
    // Servers send a zlib stream, as HTTP says, or raw deflate.
    result = Inflate(data, MAX_WBITS, limit, out);
    if (result != Z_STREAM_END) result = Inflate(data, -MAX_WBITS, limit, out);
  } else {
    reason = "content coding \"" + coding + "\" not supported";
    return false;
  }
  if (result != Z_STREAM_END) {
    reason = out.size() >= limit ? "page larger than the limit of " +
                                       std::to_string(limit) + " bytes"
                                 : coding + " content coding corrupt";
    return false;
  }
  data = std::move(out);
  return true;
}

}  // namespace

MediaType ParseMediaType(std::string_view content_type) {
  MediaType media;
  const std::size_t semicolon = content_type.find(';');
  const std::string type = Lower(Trim(content_type.substr(0, semicolon)));
  media.html = type == "text/html" || type == "application/xhtml+xml";
  std::string_view parameters = semicolon == std::string_view::npos
                                    ? std::string_view()
                                    : content_type.substr(semicolon + 1);
  while (!parameters.empty()) {
    const std::size_t next = parameters.find(';');
    const std::string_view parameter = Trim(parameters.substr(0, next));
    const std::size_t equals = parameter.find('=');
    if (equals != std::string_view::npos &&
        Lower(Trim(parameter.substr(0, equals))) == "charset") {
      std::string_view value = Trim(parameter.substr(equals + 1));
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
      }
      media.charset = std::string(value);
    }
    parameters.remove_prefix(next == std::string_view::npos ? parameters.size()
                                                            : next + 1);
  }
  return media;
}

std::optional<HttpHead> ParseHttpHead(std::string_view block,
                                      std::string& reason) {
  HttpHead head;
  std::size_t end = block.find("\r\n\r\n");
  std::size_t end_length = 4;
  const std::size_t bare = block.find("\n\n");
  if (bare != std::string_view::npos && bare < end) end = bare, end_length = 2;
  if (end == std::string_view::npos) {
    reason = "corrupt HTTP header: no end of the header";
    return std::nullopt;
  }
  head.length = end + end_length;
  std::string_view lines = block.substr(0, end + 1);
  const std::size_t first_end = lines.find('\n');
  const std::string_view status = Trim(lines.substr(0, first_end));
  const std::size_t space = status.find(' ');
  const bool status_ok =
      status.starts_with("HTTP/") && space != std::string_view::npos &&
      space + 4 <= status.size() &&
      std::all_of(status.begin() + space + 1, status.begin() + space + 4,
                  [](char c) { return c >= '0' && c <= '9'; });
  if (!status_ok) {
    reason = "corrupt HTTP header: no status line";
    return std::nullopt;
  }
  lines.remove_prefix(first_end == std::string_view::npos ? lines.size()
                                                          : first_end + 1);
  std::string* last = nullptr;
  while (!lines.empty()) {
    const std::size_t line_end = lines.find('\n');
    const std::string_view line = lines.substr(0, line_end);
    lines.remove_prefix(line_end == std::string_view::npos ? lines.size()
                                                           : line_end + 1);
    if (line.starts_with(' ') || line.starts_with('\t')) {
      // A folded line goes on with the header above it.
      if (last != nullptr) last->append(" ").append(Trim(line));
      continue;
    }
    const std::size_t colon = line.find(':');
    const std::string_view name =
        colon == std::string_view::npos ? line : line.substr(0, colon);
    if (colon == std::string_view::npos || name.empty() ||
        name.find_first_of(" \t\r") != std::string_view::npos) {
      reason = "corrupt HTTP header: a line that is not a header";
      return std::nullopt;
    }
    const std::string lower = Lower(name);
    const std::string_view value = Trim(line.substr(colon + 1));
    last = lower == "content-type"        ? &head.content_type
           : lower == "transfer-encoding" ? &head.transfer_encoding
           : lower == "content-encoding"  ? &head.content_encoding
                                          : nullptr;
    if (last != nullptr) {
      if (!last->empty()) last->append(", ");
      last->append(value);
    }
  }
  return head;
}

bool DecodeHttpBody(const HttpHead& head, std::string_view body,
                    std::size_t limit, std::string& out, std::string& reason) {
  std::vector<std::string> transfer = Codings(head.transfer_encoding);
  if (!transfer.empty() && transfer.back() == "chunked") {
    transfer.pop_back();
    if (!Dechunk(body, limit, out, reason)) return false;
  } else {
    out.assign(body.substr(0, std::min(body.size(), limit + 1)));
    if (body.size() > limit) {
      reason =
          "page larger than the limit of " + std::to_string(limit) + " bytes";
      return false;
    }
  }
  // The codings were applied in the order given, so they come off in the
  // reverse order: transfer codings first, as they were applied last.
  std::vector<std::string> codings = Codings(head.content_encoding);
  codings.insert(codings.end(), transfer.begin(), transfer.end());
  for (auto coding = codings.rbegin(); coding != codings.rend(); ++coding) {
    if (!Undo(*coding, out, limit, reason)) return false;
  }
  return true;
}

}  // namespace vantrel::warc
