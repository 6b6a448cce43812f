// Which files of the scanned folder a run reads, and in which order.
//
// A source is a regular file (or a link to one) directly inside the folder
// whose extension, the text behind the last dot of its name, equals the
// run's extension with letter case ignored. The run visits the sources in
// name order, so that its log and its output never depend on the order in
// which the file system happens to list them.
#ifndef VANTREL_EXTRACTION_SOURCE_LISTING_H_
#define VANTREL_EXTRACTION_SOURCE_LISTING_H_

#include <string>
#include <string_view>
#include <vector>

#include "extraction/file_system.h"

namespace vantrel {

// A matching file of the scanned folder.
struct SourceItem {
  fs::Path path;        // full path, for reading
  std::u16string Name;  // name with extension, for the log and the output
};

// Whether a file's name has the run's extension, letter case ignored.
class ExtensionFilter {
 public:
  explicit ExtensionFilter(std::u16string_view extension);
  bool operator()(std::u16string_view name) const;

 private:
  std::u16string lowered_;
};

// How many files of `folder` match: the run's first pass.
std::size_t CountSources(const fs::Path& folder, const ExtensionFilter& filter);

// The matching files of `folder` in name order: letter case ignored, ties
// broken by the exact name. The listing is complete before any file is
// read, so a run never meets its own output among its sources.
std::vector<SourceItem> SourcesInOrder(const fs::Path& folder,
                                       const ExtensionFilter& filter);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_SOURCE_LISTING_H_
