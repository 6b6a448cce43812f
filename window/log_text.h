// What a run's log and summary say in the window, in its language. The
// engine tells log entries and counts as data; the window shows each kind
// in the words its translation has for it, and where it has none (English),
// in the engine's own English (extraction/log_entry.h), so that the window
// and vantrel-cli say the same. File names, reasons and failures' own
// descriptions stay as they are.
#ifndef VANTREL_WINDOW_LOG_TEXT_H_
#define VANTREL_WINDOW_LOG_TEXT_H_

#include <QString>

#include "extraction/log_entry.h"
#include "extraction/run.h"

namespace vantrel::window {

// One log entry's line, without its line end.
QString ShownLogLine(const LogEntry& entry);

// The summary of a run that the error trap did not end:
// "3 checked, 1 didn't find."
QString ShownSummary(const RunResult& result);

// The line after a run that found no file with the extension: "No file in
// FOLDER has the extension thml." and, for an extension typed with its dot,
// how to type it. The window's run has one extension.
QString NothingReadLine(const RunInputs& inputs);

}  // namespace vantrel::window

#endif  // VANTREL_WINDOW_LOG_TEXT_H_
