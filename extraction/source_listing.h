// Which files of the scanned folder a run reads, and in which order.
//
// A source is a regular file (or a link to one) directly inside the folder,
// or with `recursive` anywhere below it (links to folders are not
// followed), whose extension, the text behind the last dot of its name,
// equals one of the run's extensions with letter case ignored. The run
// visits the sources in name order, so that its log and its output never
// depend on the order in which the file system happens to list them.
#ifndef VANTREL_EXTRACTION_SOURCE_LISTING_H_
#define VANTREL_EXTRACTION_SOURCE_LISTING_H_

#include <string>
#include <string_view>
#include <vector>

#include "extraction/file_system.h"

namespace vantrel {

// A matching file of the scanned folder.
struct SourceItem {
  fs::Path path;  // full path, for reading
  // Name with extension, for the log and the output; below a sub-folder,
  // the path from the scanned folder, with "/" between the parts.
  std::u16string Name;
};

// Whether a file's name has one of the run's extensions, letter case
// ignored.
class ExtensionFilter {
 public:
  explicit ExtensionFilter(const std::vector<std::u16string>& extensions);
  bool operator()(std::u16string_view name) const;

 private:
  std::vector<std::u16string> lowered_;
};

// How many files of `folder` match: the run's first pass.
std::size_t CountSources(const fs::Path& folder, const ExtensionFilter& filter,
                         bool recursive);

// The matching files of `folder` in name order: letter case ignored, ties
// broken by the exact name, a folder's files and sub-folders taken in one
// order. The listing is complete before any file is read, so a run never
// meets its own output among its sources.
std::vector<SourceItem> SourcesInOrder(const fs::Path& folder,
                                       const ExtensionFilter& filter,
                                       bool recursive);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_SOURCE_LISTING_H_
