#include "cli/cli_report.h"

#include "extraction/messages.h"
#include "extraction/stop_signals.h"
#include "extraction/text/native_names.h"
#include "extraction/text/text.h"

namespace vantrel::cli {

void CliReport::Finished(const RunResult& /*result*/) { progress_.Clear(); }

bool CliReport::StopRequested() const { return StopSignalReceived() != 0; }

void CliReport::FileExamined(const FileReport& report) {
  if (report.near_miss) near_misses_.Add(*report.near_miss);
  Report(report);
  progress_.Show(report.done, report.matching);
}

void CliReport::Write(std::string_view bytes) {
  progress_.Clear();
  out_.Write(bytes);
}

void TextReport::Logged(const LogEntry& entry) {
  std::u16string ended = LogLine(entry);
  ended += kLineEnd;
  const std::string line = TextToUtf8(ended);
  // The log's CR LF line ends become the terminal's plain line ends.
  std::string out;
  out.reserve(line.size());
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\r' && i + 1 < line.size() && line[i + 1] == '\n') continue;
    out.push_back(line[i]);
  }
  Write(out);
}

void TextReport::Report(const FileReport& report) {
  if (explain_ && report.charset) {
    const CharsetDecision& decision = *report.charset;
    std::string why(DetectionReasonName(decision.reason));
    if (decision.reason == DetectionReason::kDetected) {
      why += ", confidence " + std::to_string(decision.confidence);
      if (decision.low_confidence) why += ", low confidence";
    }
    Write("  " + TextToUtf8(DisplayName(report.name)) + ": read as " +
          decision.name + " (" + why + ")\n");
  }
  if (explain_ && report.near_miss) {
    Write("  " + TextToUtf8(report.near_miss->text) + "\n");
  }
}

void TextReport::Finish(const RunResult& result, bool dry_run) {
  if (result.output) {
    Write("Output: " + TextToUtf8(DisplayName(*result.output)) +
          (dry_run ? " (dry run: nothing written)\n" : "\n"));
  }
  if (result.end != RunResult::End::kErrorTrap) {
    Write(TextToUtf8(result.summary) + "\n");
  }
}

}  // namespace vantrel::cli
