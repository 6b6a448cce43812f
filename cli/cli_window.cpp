#include "cli/cli_window.h"

#include "extraction/text/native_names.h"
#include "extraction/text/text.h"

namespace vantrel::cli {

void CliWindow::SetBusyPointer(bool busy) {
  if (!busy) progress_.Clear();
}

void CliWindow::FileExamined(const FileReport& report) {
  if (report.hint) near_misses_.Add(*report.hint);
  Report(report);
  progress_.Show(report.done, report.matching);
}

void CliWindow::Write(std::string_view bytes) {
  progress_.Clear();
  out_.Write(bytes);
}

void TextReport::AppendText5(std::u16string_view text) {
  const std::string line = TextToUtf8(text);
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
  if (explain_ && report.hint) {
    Write("  " + TextToUtf8(report.hint->text) + "\n");
  }
}

void TextReport::Finish(const RunResult& result, bool dry_run) {
  if (result.output) {
    Write("Output: " + TextToUtf8(DisplayName(*result.output)) +
          (dry_run ? " (dry run: nothing written)\n" : "\n"));
  }
  if (result.end != RunResult::End::kErrorTrap) {
    Write(TextToUtf8(summary_) + "\n");
  }
}

}  // namespace vantrel::cli
