// One line of a run's log, as data: what happened, and the file or folder
// and the reason it concerns. A front end shows an entry in its own words
// by its kind (the window through its translation); LogLine is the one
// English rendering, which vantrel-cli prints and the window shows in
// English.
#ifndef VANTREL_EXTRACTION_LOG_ENTRY_H_
#define VANTREL_EXTRACTION_LOG_ENTRY_H_

#include <cstdint>
#include <string>
#include <utility>

namespace vantrel {

enum class LogKind {
  kNoFolder,       // no folder was given
  kNoExtension,    // no extension was given
  kMissingFolder,  // the folder does not exist
  kCantRead,       // `name` gave no text
  kNoStart,        // `name` has no start marker
  kNoEnd,          // `name` has no end marker behind its start marker
  kCantOpen,       // `name` could not be read, for `reason`, and was
                   // passed over (a run that keeps going)
  kUnknownError,   // a failure ended the run; a kFailure entry follows
  kFailure,        // the failure's description, in `reason`
  kStopped,        // the run was stopped between two files
  kBadRecord,      // a record of the web archive `name` at `offset` could
                   // not be read, for `reason`, and was passed over
};

struct LogEntry {
  // An entry about the run as a whole, or about the file `name`.
  explicit LogEntry(LogKind kind, std::u16string name = {})
      : kind(kind), name(std::move(name)) {}
  // A file or sub-folder passed over, and why.
  static LogEntry Unreadable(std::u16string name, bool folder,
                             std::u16string reason);
  // The failure that ended the run.
  static LogEntry Failure(std::u16string description);
  // A record of a web archive passed over, and why.
  static LogEntry BadRecord(std::u16string archive, std::uint64_t offset,
                            std::u16string reason);

  LogKind kind;
  // The file or sub-folder, by its path below the run's folder, made safe
  // to show (DisplayName); empty for entries about the run as a whole.
  std::u16string name;
  // A sub-folder rather than a file (kCantOpen).
  bool folder = false;
  // The system's reason (kCantOpen), the failure's description (kFailure)
  // or why a record could not be read (kBadRecord).
  std::u16string reason;
  // The record's offset in its archive (kBadRecord).
  std::uint64_t offset = 0;
};

// The entry as the log's English line, without its line end:
// "Haven't start: a.htm", "Can't open: 2024/: Permission denied".
std::u16string LogLine(const LogEntry& entry);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_LOG_ENTRY_H_
