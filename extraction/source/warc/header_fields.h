// What WARC record headers and HTTP heads share: "Name: value" fields whose
// names, and many of whose values, are ASCII and compared without letter
// case, with blanks around a value that mean nothing.
#ifndef VANTREL_EXTRACTION_SOURCE_WARC_HEADER_FIELDS_H_
#define VANTREL_EXTRACTION_SOURCE_WARC_HEADER_FIELDS_H_

#include <algorithm>
#include <string>
#include <string_view>

namespace vantrel::warc {

// `text` with its ASCII capitals in lower case; other bytes as they are.
inline std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return lower;
}

// `text` without the spaces and tabs before it, nor the spaces, tabs and
// carriage return after it.
inline std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
    text.remove_prefix(1);
  }
  while (!text.empty() &&
         (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
    text.remove_suffix(1);
  }
  return text;
}

}  // namespace vantrel::warc

#endif  // VANTREL_EXTRACTION_SOURCE_WARC_HEADER_FIELDS_H_
