// How the run gets at a source's text: TestFile names the charset of a file
// from its first bytes, ReadFile loads a whole file as text in a charset
// (a run reads its many sources through read_ahead.h instead, in memory
// kept from one to the next). Neither keeps anything after it returns;
// failures are thrown as RunError.
#ifndef VANTREL_EXTRACTION_SOURCE_SOURCE_READING_H_
#define VANTREL_EXTRACTION_SOURCE_SOURCE_READING_H_

#include <filesystem>
#include <string>

#include "extraction/source/source_listing.h"
#include "extraction/text/charsets.h"

namespace vantrel {

// The charset of the file at `path`, from its first bytes: a file without a
// signature, an empty one included, is windows-1256.
Charset TestFile(const std::filesystem::path& path);

// The same for a run's source, opened through `opener`.
Charset TestFile(SourceOpener& opener, const SourceItem& item);

// The whole file at `path` decoded in the charset `mode`; empty for an empty
// file.
std::u16string ReadFile(const std::filesystem::path& path, Charset mode);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_SOURCE_SOURCE_READING_H_
