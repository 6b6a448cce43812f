// Which files a run or a suggestion reads, and how: the folder, the
// extensions, how deep, and how each file's charset is decided. A run, a
// suggestion and both front ends share this one description and its one
// check.
#ifndef VANTREL_EXTRACTION_FILE_SELECTION_H_
#define VANTREL_EXTRACTION_FILE_SELECTION_H_

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "extraction/log_entry.h"
#include "extraction/text/charsets.h"

namespace vantrel {

// The first matching file's signature decides how every file is read, as
// in the window.
struct CharsetOfFirstFile {};
// Each file is read in the charset decided for it alone
// (charset_detection.h); the output is UTF-16LE.
struct CharsetOfEachFile {};
// How the files' charset is decided: by the first file, chosen for every
// file, or each file's own.
using CharsetPolicy =
    std::variant<CharsetOfFirstFile, Charset, CharsetOfEachFile>;

struct FileSelection {
  // The folder to scan (Text3), taken as it stands.
  std::u16string folder;
  // The extensions of the files to read, without a dot (Text4 first, which
  // names the collected file; the command line may give more).
  std::vector<std::u16string> extensions;
  // Files in sub-folders at any depth are read too, named by their path
  // below the folder; in separated mode the output folder mirrors the tree.
  bool recursive = false;
  CharsetPolicy charset;

  // The extension that names the collected file; empty when none is given.
  const std::u16string& first_extension() const;
  // The charset chosen for every file, if one was.
  std::optional<Charset> fixed_charset() const;
  bool charset_per_file() const {
    return std::holds_alternative<CharsetOfEachFile>(charset);
  }
};

// The first input check that fails, in the window's order: no folder, no
// extension, no such folder.
std::optional<LogKind> CheckSelection(const FileSelection& selection);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_FILE_SELECTION_H_
