// Which files of the scanned folder a run reads, and in which order; or
// the files of a list, each by its own path, in the list's order.
//
// A source is a regular file (or a link to one) directly inside the folder,
// or with `recursive` anywhere below it (links to folders are not
// followed), whose extension, the text behind the last dot of its name,
// equals one of the run's extensions with letter case ignored. The run
// visits the sources in name order, so that its log and its output never
// depend on the order in which the file system happens to list them.
#ifndef VANTREL_EXTRACTION_SOURCE_SOURCE_LISTING_H_
#define VANTREL_EXTRACTION_SOURCE_SOURCE_LISTING_H_

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "extraction/sys/file_system.h"

namespace vantrel {

// A matching file of the scanned folder, or a listed file.
struct SourceItem {
  // Name with extension, for the log and the output; below a sub-folder,
  // the path from the scanned folder, with "/" between the parts. A listed
  // file's path as given.
  std::u16string Name;
  // The same path as the file system's bytes, by which the file is opened:
  // from the scanned folder, or for a listed file, its own path.
  std::string relative;
  // Not 0 for a sub-folder that could not be listed (only when the run
  // keeps going past such folders): the system's reason. None of its files
  // are among the items; it stands where they would.
  int unlisted_error = 0;
  // The file is a web archive (warc/web_archive.h): its pages, not the
  // file, are the run's sources, known only as they are read.
  bool web_archive = false;
};

// The scanned folder, open, and its matching files in name order; or,
// without a folder, the listed files in the list's order.
struct Sources {
  std::optional<fs::Folder> root;
  std::vector<SourceItem> items;

  // An item's whole path, for messages.
  fs::Path PathOf(const SourceItem& item) const {
    return root ? root->path() / item.relative : fs::Path(item.relative);
  }
};

// The files of a list, named and opened by their paths as given, in the
// given order: nothing is looked at before the run reads them.
Sources ListedSources(const std::vector<std::string>& paths,
                      bool web_archives = false);

// Whether a file's name has one of the run's extensions, letter case
// ignored. With `web_archives`, an extension with a dot inside ("warc.gz")
// is matched at the end of the name, and a matching file named as a web
// archive is one.
class ExtensionFilter {
 public:
  explicit ExtensionFilter(const std::vector<std::u16string>& extensions,
                           bool web_archives = false);
  bool operator()(std::u16string_view name) const;
  // Whether the file `name` is read as a web archive.
  bool IsWebArchive(std::u16string_view name) const;

 private:
  std::vector<std::u16string> lowered_;
  bool web_archives_;
};

// How the folder is listed: with `recursive`, its sub-folders too; with
// `keep_going`, a sub-folder that cannot be listed is passed over (and, in
// SourcesInOrder, given its place) instead of failing the listing.
struct ListingOptions {
  bool recursive = false;
  bool keep_going = false;
};

// How many files of `folder` match: the run's first pass.
std::size_t CountSources(const fs::Path& folder, const ExtensionFilter& filter,
                         ListingOptions options);

// The matching files of `folder` in name order: letter case ignored, ties
// broken by the exact name, a folder's files and sub-folders taken in one
// order. The listing is complete before any file is read, so a run never
// meets its own output among its sources.
Sources SourcesInOrder(const fs::Path& folder, const ExtensionFilter& filter,
                       ListingOptions options);

// Opens a run's sources one after the other, in their order, through the
// folders on their way: each folder is opened once, whatever the depth.
// A sub-folder that could not be listed fails here, at its turn, with the
// reason it failed with then. Sources without a folder are opened by their
// own paths.
class SourceOpener {
 public:
  explicit SourceOpener(const Sources& sources);
  fs::SourceFile Open(const SourceItem& item);
  // Up to `count` bytes from the start of the source.
  std::string ReadStart(const SourceItem& item, std::size_t count);

 private:
  // The folder that holds the item, and the item's name in it.
  std::pair<const fs::Folder&, std::string_view> Place(const SourceItem& item);
  const fs::Folder* root_;
  std::optional<fs::FolderPath> folders_;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_SOURCE_SOURCE_LISTING_H_
