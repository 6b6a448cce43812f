// Which files a run or a suggestion reads, and how: where they come from
// (a folder's listing, or a list of files), and how each file's charset is
// decided. A run, a suggestion and both front ends share this one
// description and its one check.
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

// Where the files come from: the matching files of the folder, listed (the
// window's way, and the command line's FOLDER).
struct FolderListing {};
// Exactly the files named, one by one, in the order given, duplicates
// included: each by its own path, absolute or relative to the working
// directory, as the file system's bytes. The log and the reports name each
// by its path as given. There is no common folder.
struct FileList {
  std::vector<std::string> paths;
  // Where the list was read from, as the user named it ("-": standard
  // input), and whether its paths ended in NUL bytes rather than line
  // breaks: to name the list again in messages and command lines.
  std::string from = {};
  bool null_separated = false;
};
// One web archive (.warc, .warc.gz), by its path as given: its pages are
// the sources, and `folder` is the one it lies in, where the output goes.
struct WebArchive {
  std::string path;
};
using FileOrigin = std::variant<FolderListing, FileList, WebArchive>;

struct FileSelection {
  // Where the files come from; `folder`, `extensions` and `recursive`
  // describe a folder's listing.
  FileOrigin origin;
  // The folder to scan (Text3), taken as it stands; the output goes there
  // unless the run says otherwise.
  std::u16string folder;
  // The extensions of the files to read, without a dot (Text4 first, which
  // names the collected file; the command line may give more).
  std::vector<std::u16string> extensions;
  // Files in sub-folders at any depth are read too, named by their path
  // below the folder; in separated mode the output folder mirrors the tree.
  bool recursive = false;
  CharsetPolicy charset;
  // Files named *.warc or *.warc.gz are web archives whose pages are read,
  // and an extension with a dot inside ("warc.gz") is matched at the end of
  // a name (vantrel-cli). Without it every file is one page and a file's
  // extension is the text behind its last dot, as in the window.
  bool web_archives = false;

  // The extension that names the collected file; empty when none is given.
  const std::u16string& first_extension() const;
  // The charset chosen for every file, if one was.
  std::optional<Charset> fixed_charset() const;
  bool charset_per_file() const {
    return std::holds_alternative<CharsetOfEachFile>(charset);
  }
  // The list of files, when the files come from one.
  const FileList* file_list() const { return std::get_if<FileList>(&origin); }
  // The web archive, when the files are its pages alone.
  const WebArchive* web_archive() const {
    return std::get_if<WebArchive>(&origin);
  }
};

// Whether `path` names a web archive file (.warc, .warc.gz, letter case
// ignored) that exists: such a FOLDER is read as a WebArchive.
bool IsWebArchiveFile(const std::u16string& path);

// The first input check that fails, in the window's order: no folder, no
// extension, no such folder. A list of files passes: each of its files is
// checked as it is read, where one that is missing or a folder is a file
// that cannot be read.
std::optional<LogKind> CheckSelection(const FileSelection& selection);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_FILE_SELECTION_H_
