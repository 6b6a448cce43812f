// Every text that a run writes to the log or the summary.
#ifndef VANTREL_EXTRACTION_MESSAGES_H_
#define VANTREL_EXTRACTION_MESSAGES_H_

#include <string_view>

namespace vantrel {

// Input checks, the first failing one of which ends the run.
inline constexpr std::u16string_view kNoFolderMessage =
    u"Didn't find files' path.";
inline constexpr std::u16string_view kNoExtensionMessage =
    u"Didn't find extension.";
inline constexpr std::u16string_view kMissingFolderMessage =
    u"Didn't find choosed folder.";

// A file that yields no piece, followed by its name.
inline constexpr std::u16string_view kCantReadPrefix = u"Can't read: ";
inline constexpr std::u16string_view kNoStartPrefix = u"Haven't start: ";
inline constexpr std::u16string_view kNoEndPrefix = u"Haven't end: ";

// A file or sub-folder that cannot be read, in a run that keeps going past
// it: kCantOpenPrefix, its name (a folder's followed by kFolderSuffix),
// kReasonSeparator and the system's reason.
inline constexpr std::u16string_view kCantOpenPrefix = u"Can't open: ";
inline constexpr std::u16string_view kFolderSuffix = u"/";
inline constexpr std::u16string_view kReasonSeparator = u": ";
// A record of a web archive that could not be read: kBadRecordPrefix, the
// archive's name, kReasonSeparator, kRecordOffsetPrefix and the record's
// offset in the file, kReasonSeparator and why.
inline constexpr std::u16string_view kBadRecordPrefix = u"Bad record: ";
inline constexpr std::u16string_view kRecordOffsetPrefix = u"offset ";

// The error trap's line, followed by a line with the failure's description.
inline constexpr std::u16string_view kUnknownErrorMessage =
    u"Unknown error occurred:";

// Failure descriptions that do not come from the file system.
inline constexpr std::string_view kDivisionByZeroDescription =
    "Division by zero";
inline constexpr std::string_view kOutOfMemoryDescription = "Out of memory";

// A run stopped between two files (RunSink::StopRequested).
inline constexpr std::u16string_view kStoppedMessage = u"Stopped by the user.";

// The summary: matching count, kSummaryChecked, failure count,
// kSummaryDidntFind.
inline constexpr std::u16string_view kSummaryChecked = u" checked, ";
inline constexpr std::u16string_view kSummaryDidntFind = u" didn't find.";

// Log lines end with CR LF.
inline constexpr std::u16string_view kLineEnd = u"\r\n";

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_MESSAGES_H_
