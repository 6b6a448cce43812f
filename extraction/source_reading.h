// How the run gets at a source's text: TestFile names the charset of a file
// from its first bytes, ReadFile loads a whole file as text in a charset.
// Neither keeps anything after it returns; failures are thrown as RunError.
#ifndef VANTREL_EXTRACTION_SOURCE_READING_H_
#define VANTREL_EXTRACTION_SOURCE_READING_H_

#include <filesystem>
#include <string>
#include <string_view>

#include "extraction/charsets.h"

namespace vantrel {

// The charset of the file at `path`, from its first bytes: a file without a
// signature, an empty one included, is windows-1256.
Charset TestFile(const std::filesystem::path& path);

// The whole file at `path` decoded in the charset `mode`; empty for an empty
// file.
std::u16string ReadFile(const std::filesystem::path& path, Charset mode);

// ReadFile for a run's many sources: the file's bytes and its text go into
// buffers that the reader keeps from one file to the next, so that a run
// allocates only while the largest file so far grows, and its memory stays
// a few times the size of that file.
class SourceReader {
 public:
  // As ReadFile; the text is valid until the next call.
  std::u16string_view Read(const std::filesystem::path& path, Charset mode);
  // The bytes of the file last read, valid until the next call.
  std::string_view bytes() const { return bytes_; }

 private:
  std::string bytes_;
  std::u16string text_;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_SOURCE_READING_H_
