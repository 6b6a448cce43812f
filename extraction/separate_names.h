// The name each source's separate file is made from, where the source's own
// name cannot serve: a listed file has no common folder, so it is named by
// the last part of its path (ListedFileNames), and a web archive's page by
// its URI (PageNames). A file of a scanned folder keeps its own name. The
// output kind then makes the file's name from it (".txt" for text).
#ifndef VANTREL_EXTRACTION_SEPARATE_NAMES_H_
#define VANTREL_EXTRACTION_SEPARATE_NAMES_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "extraction/file_selection.h"
#include "extraction/output/output_content.h"
#include "extraction/output/output_names.h"
#include "extraction/output/page_names.h"
#include "extraction/source/source_listing.h"

namespace vantrel {

class SeparateNames {
 public:
  // The names for a run over `sources`, chosen by `files`, whose output of
  // `kind` is separate files when `separate`; `sources` must outlive it.
  SeparateNames(const FileSelection& files, const Sources& sources,
                bool separate, OutputKind kind);

  // One name per source, in order, for a kind that plans its names from
  // all the run's sources at once.
  std::vector<std::u16string_view> OfAllSources() const;
  // The name for the file at `index` of the sources; empty: its own.
  std::u16string OfFile(std::size_t index) const;
  // The name for a web archive's page at `uri`, unique among the pages
  // named so far.
  std::u16string OfPage(std::string_view uri);

 private:
  const Sources& sources_;
  std::optional<ListedFileNames> listed_;
  std::optional<PageNames> pages_;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_SEPARATE_NAMES_H_
