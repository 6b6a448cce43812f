// How the run tells a source's charset: TestFile names it from a file's
// first bytes (a run reads its sources' texts through read_ahead.h). It
// keeps nothing after it returns; failures are thrown as RunError.
#ifndef VANTREL_EXTRACTION_SOURCE_SOURCE_READING_H_
#define VANTREL_EXTRACTION_SOURCE_SOURCE_READING_H_

#include <filesystem>
#include <optional>
#include <string>

#include "extraction/source/source_listing.h"
#include "extraction/text/charsets.h"

namespace vantrel {

// The charset of the file at `path`, from its first bytes: a file without a
// signature, an empty one included, is windows-1256.
Charset TestFile(const std::filesystem::path& path);

// The same for a run's source, opened through `opener`.
Charset TestFile(SourceOpener& opener, const SourceItem& item);

// The same for the first page of the web archive `item`, read up to that
// page only; nothing when the archive holds no page.
std::optional<Charset> TestFirstPage(SourceOpener& opener,
                                     const SourceItem& item);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_SOURCE_SOURCE_READING_H_
