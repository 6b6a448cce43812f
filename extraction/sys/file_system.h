// The thin layer over POSIX through which the engine touches the file
// system, and nothing else does.
//
// Every failure is thrown as a FileSystemError naming the operation, the path
// and the system's reason. Every system call passes one seam
// (operation_seam.h) so that tests can make an operation fail.
#ifndef VANTREL_EXTRACTION_SYS_FILE_SYSTEM_H_
#define VANTREL_EXTRACTION_SYS_FILE_SYSTEM_H_

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "extraction/base/source_buffer.h"

namespace vantrel::fs {

using Path = std::filesystem::path;

// True when `path` is a folder (links followed).
bool FolderExists(const Path& path);

// True when `path` exists and is not a folder (links followed).
bool FileExists(const Path& path);

// Up to `count` bytes from the start of the file.
std::string ReadStart(const Path& path, std::size_t count);

// A source open for reading: a regular file (links followed), whose size is
// known before its bytes are read, so that a reader can make room for them
// first.
class SourceFile {
 public:
  friend class Folder;
  static SourceFile Open(const Path& path);

  SourceFile(SourceFile&& other) noexcept;
  SourceFile& operator=(SourceFile&&) = delete;
  ~SourceFile();

  // The file's size when it was opened.
  std::size_t size() const { return size_; }

  // The whole content, into `buffer` (its memory is reused). A file that
  // keeps its size takes one read(); one that grows meanwhile is read to
  // its new end.
  void ReadAll(SourceBuffer& buffer);

  // The next bytes, up to `capacity` of them, for a reader that streams a
  // file too large to hold; fewer only at the end, 0 there.
  std::size_t Read(char* data, std::size_t capacity);

  void Close();

 private:
  SourceFile(Path path, int fd, std::size_t size)
      : path_(std::move(path)), fd_(fd), size_(size) {}
  Path path_;
  int fd_;
  std::size_t size_;
};

// Creates the folder; false when something of that name exists already.
bool CreateFolder(const Path& path);

// The kind of an existing entry, links not followed: true for a folder or a
// link. Used to tell a name taken by a rival from a plain file in the way.
bool IsFolderOrLink(const Path& path);

// True when anything, a link included, has the name `path` (links not
// followed).
bool EntryExists(const Path& path);

// True when `path` is a folder itself, not a link to one; false when
// nothing is there. Used to tell a folder in the output's way from a name
// taken by a rival or a planted link.
bool IsFolder(const Path& path);

// An output file open for writing. Each piece goes in whole or not at all:
// when a write fails, the file is cut back to its length before it, and a
// file that this object created goes again unless it was closed properly,
// so that a failed run leaves no empty or partial output behind.
class OutputFile {
 public:
  friend class Folder;
  // Creates a new empty file; nothing when the name is taken (by anything,
  // a link included, which is never followed).
  static std::optional<OutputFile> CreateNew(const Path& path);
  // Opens a file to append to, creating it when missing; never through a
  // link.
  static OutputFile OpenForAppend(const Path& path);

  OutputFile(OutputFile&& other) noexcept;
  OutputFile& operator=(OutputFile&&) = delete;
  ~OutputFile();

  // Appends one whole piece.
  void Append(std::string_view bytes);
  // Appends a piece that comes in parts: StartPiece, then AppendPart for
  // each part. A part that fails cuts the file back to where the piece
  // began.
  void StartPiece();
  void AppendPart(std::string_view bytes);
  void Close();

 private:
  OutputFile(Path path, int fd, bool created, off_t length)
      : path_(std::move(path)),
        fd_(fd),
        created_(created),
        length_(length),
        piece_start_(length) {}
  Path path_;
  int fd_;
  // Where a file created in a Folder is removed from again: that folder
  // (open for as long as the file is) and the name in it.
  int folder_fd_ = -1;
  std::string name_;
  bool created_;       // made by CreateNew and not yet closed properly
  off_t length_;       // the file's length now
  off_t piece_start_;  // the file's length where the current piece began
};

// Leaves no partial piece behind when the process must end at once, in the
// middle of a write: a file that an OutputFile created and has not closed
// is removed, and a file opened to append to is cut back to its length at
// opening, so that it holds whole pieces only. It acts on the output file
// open at the moment (whichever OutputFile opened last and is not yet
// closed), and on nothing when none is. Only async-signal-safe calls: made
// from a signal handler just before the process ends.
void DiscardUnfinishedOutput() noexcept;

// The name of every entry directly inside `folder`, of any kind, in the file
// system's order.
std::vector<std::string> ListNames(const Path& folder);

// Fails as creating `path` would (a file, or with `folder` a folder) when
// the folder that would hold it lets this process add no entry, and
// creates nothing: how a dry run finds that it could not make its output.
// It passes the seam as that create, so a fault planned for the create
// fails it too.
void CheckCreatable(const Path& path, bool folder);

// An open folder, from which the files and folders inside it are reached by
// their names alone: a tree is walked one folder at a time, so that no path
// handed to the system grows with its depth, and a tree deeper than the
// system's longest path is read and written like any other. `path()` only
// names the folder in errors and to the seam.
class Folder {
 public:
  // Opens the folder at `path` (links followed): to list it (failing as
  // "cannot list folder"), or only to reach the files and folders in it.
  static Folder Open(const Path& path, bool to_list = true);

  Folder(Folder&& other) noexcept;
  Folder& operator=(Folder&& other) noexcept;
  ~Folder();

  const Path& path() const { return path_; }

  // Opens the folder `name` inside this one as Open does, never through a
  // link.
  Folder OpenSub(std::string_view name, bool to_list = false) const;

  // The names of the regular files directly inside (links to regular files
  // included) for which `wanted` holds, in the file system's order.
  // Folders, FIFOs, sockets, devices and broken links are left out;
  // `wanted` is asked first, so other entries cost no more than their name.
  // With `folders`, the names of the folders directly inside go there
  // (links to folders are not folders here). A folder is listed once.
  std::vector<std::string> List(
      const std::function<bool(std::string_view)>& wanted,
      std::vector<std::string>* folders = nullptr);

  // ReadStart and SourceFile::Open for the file `name` inside.
  std::string ReadStart(std::string_view name, std::size_t count) const;
  SourceFile OpenSource(std::string_view name) const;

  // CreateFolder, IsFolder and OutputFile::CreateNew for `name` inside; a
  // file created here must be done with before the folder is closed.
  bool CreateFolder(std::string_view name) const;
  bool IsFolder(std::string_view name) const;
  std::optional<OutputFile> CreateFile(std::string_view name) const;

 private:
  Folder(Path path, int fd) : path_(std::move(path)), fd_(fd) {}
  Path path_;
  int fd_;
};

// The folders along one path below a root folder, kept open while a tree is
// walked in path order, so that each folder on the way is opened once
// however many files it holds, and no more are open than the path is deep.
class FolderPath {
 public:
  // With `make`, missing folders on the way are created.
  FolderPath(const Folder& root, bool make) : root_(root), make_(make) {}

  // The folder that `relative` ("2024/may", or "" for the root) names
  // below the root.
  const Folder& At(std::string_view relative);

 private:
  const Folder& root_;
  const bool make_;
  std::vector<std::pair<std::string, Folder>> open_;
};

// Throws the FileSystemError "`what` `path`: reason of `error_number`".
[[noreturn]] void Fail(std::string_view what, const Path& path,
                       int error_number);

}  // namespace vantrel::fs

#endif  // VANTREL_EXTRACTION_SYS_FILE_SYSTEM_H_
