// The names of the separate files made from the pages of web archives,
// from each page's URI: "host/path", so that a site's pages sit in folders
// as on the site, and nothing can climb out of the output folder.
//
// - The scheme, user and fragment are left out; the host is in lower case,
//   a port added as "host_8080"; a URI without a host (urn:, file:///)
//   goes under "_".
// - Each path segment keeps letters, digits and "-._~!$&'()+,;=@%"; any
//   other byte becomes "_". A segment that starts with a dot gets "_" in
//   front ("..": "_.."), an empty one is dropped, and one longer than 100
//   bytes is cut to 100 with "~" and a hash of the whole behind.
// - A query is hashed: "~" and 16 hex digits of it go at the end of the
//   last segment, before its extension (list.php?p=2:
//   "list.php~78b1a219573b4bec.htm").
// - The last segment is "index" when the path ends in "/", and gets ".htm"
//   unless it ends in ".htm", ".html" or ".xhtml"; a folder's segment that
//   ends so gets "_" behind, so that no file's name is a folder's.
// - Where two pages would get one name (letter case ignored), the later
//   gets " (2)", " (3)"... before its extension.
#ifndef VANTREL_EXTRACTION_OUTPUT_PAGE_NAMES_H_
#define VANTREL_EXTRACTION_OUTPUT_PAGE_NAMES_H_

#include <string>
#include <string_view>
#include <unordered_set>

namespace vantrel {

class PageNames {
 public:
  // With `extension` ("txt", for plain text), each name ends in it instead
  // of the page's own.
  explicit PageNames(std::string_view extension = {})
      : extension_(extension.empty() ? "" : "." + std::string(extension)) {}
  // The name of the page at `uri`, unique among those given so far, "/"
  // between folders, as UTF-8 bytes (bytes that are not UTF-8 are kept).
  std::string For(std::string_view uri);

 private:
  std::string extension_;
  std::unordered_set<std::string> taken_;  // lower case
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_OUTPUT_PAGE_NAMES_H_
