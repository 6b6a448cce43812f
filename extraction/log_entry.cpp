#include "extraction/log_entry.h"

#include "extraction/messages.h"

namespace vantrel {
namespace {

// The line of an entry that concerns one file: a prefix, then its name.
std::u16string Named(std::u16string_view prefix, const LogEntry& entry) {
  std::u16string line(prefix);
  line += entry.name;
  return line;
}

}  // namespace

LogEntry LogEntry::Unreadable(std::u16string name, bool folder,
                              std::u16string reason) {
  LogEntry entry(LogKind::kCantOpen, std::move(name));
  entry.folder = folder;
  entry.reason = std::move(reason);
  return entry;
}

LogEntry LogEntry::BadRecord(std::u16string archive, std::uint64_t offset,
                             std::u16string reason) {
  LogEntry entry(LogKind::kBadRecord, std::move(archive));
  entry.offset = offset;
  entry.reason = std::move(reason);
  return entry;
}

LogEntry LogEntry::Failure(std::u16string description) {
  LogEntry entry(LogKind::kFailure);
  entry.reason = std::move(description);
  return entry;
}

std::u16string LogLine(const LogEntry& entry) {
  switch (entry.kind) {
    case LogKind::kNoFolder:
      return std::u16string(kNoFolderMessage);
    case LogKind::kNoExtension:
      return std::u16string(kNoExtensionMessage);
    case LogKind::kMissingFolder:
      return std::u16string(kMissingFolderMessage);
    case LogKind::kCantRead:
      return Named(kCantReadPrefix, entry);
    case LogKind::kNoStart:
      return Named(kNoStartPrefix, entry);
    case LogKind::kNoEnd:
      return Named(kNoEndPrefix, entry);
    case LogKind::kCantOpen: {
      std::u16string line = Named(kCantOpenPrefix, entry);
      if (entry.folder) line += kFolderSuffix;
      line += kReasonSeparator;
      line += entry.reason;
      return line;
    }
    case LogKind::kUnknownError:
      return std::u16string(kUnknownErrorMessage);
    case LogKind::kFailure:
      return entry.reason;
    case LogKind::kBadRecord: {
      std::u16string line = Named(kBadRecordPrefix, entry);
      line += kReasonSeparator;
      line += kRecordOffsetPrefix;
      for (const char c : std::to_string(entry.offset)) line += c;
      line += kReasonSeparator;
      line += entry.reason;
      return line;
    }
    case LogKind::kStopped:
      break;
  }
  return std::u16string(kStoppedMessage);
}

}  // namespace vantrel
