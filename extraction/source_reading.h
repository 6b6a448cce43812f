// How the run gets at a source's text: TestFile names the charset of a file
// from its first bytes, ReadFile loads a whole file as text in a charset.
// Neither keeps anything after it returns; failures are thrown as RunError.
#ifndef VANTREL_EXTRACTION_SOURCE_READING_H_
#define VANTREL_EXTRACTION_SOURCE_READING_H_

#include <filesystem>
#include <string>
#include <string_view>

namespace vantrel {

// The charset name for the file at `path`, from its first bytes. Never
// empty: a file without a signature, an empty one included, is windows-1256.
std::u16string TestFile(const std::filesystem::path& path);

// The whole file at `path` decoded in the charset `mode`; empty for an empty
// file.
std::u16string ReadFile(const std::filesystem::path& path,
                        std::u16string_view mode);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_SOURCE_READING_H_
