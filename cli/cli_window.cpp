#include "cli/cli_window.h"

#include "extraction/text.h"

namespace vantrel::cli {
namespace {

constexpr int kBarWidth = 30;

}  // namespace

CliWindow::CliWindow(RunInputs inputs, ReportStream& log, std::FILE* progress)
    : inputs_(std::move(inputs)), log_(log), progress_(progress) {}

void CliWindow::AppendText5(std::u16string_view text) {
  ClearProgress();
  std::string line = TextToUtf8(text);
  // The log's CR LF line ends become the terminal's plain line ends.
  std::string out;
  out.reserve(line.size());
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\r' && i + 1 < line.size() && line[i + 1] == '\n') continue;
    out.push_back(line[i]);
  }
  log_.Write(out);
}

void CliWindow::SetLabel6(std::u16string_view caption) { summary_ = caption; }

void CliWindow::SetBusyPointer(bool busy) {
  if (!busy) ClearProgress();
}

void CliWindow::FileExamined(const FileReport& report) {
  const int done = report.done, matching = report.matching;
  if (progress_ == nullptr || matching <= 0) return;
  const int filled =
      static_cast<int>(static_cast<long long>(done) * kBarWidth / matching);
  const int percent =
      static_cast<int>(static_cast<long long>(done) * 100 / matching);
  // Redraw only when the figure changes: a terminal is slow next to a run.
  if (progress_shown_ && percent == shown_percent_ && done != matching) return;
  shown_percent_ = percent;
  std::fprintf(
      progress_, "\r[%s%s] %d/%d %3d%%", std::string(filled, '#').c_str(),
      std::string(kBarWidth - filled, ' ').c_str(), done, matching, percent);
  std::fflush(progress_);
  progress_shown_ = true;
}

void CliWindow::ClearProgress() {
  if (!progress_shown_) return;
  // Carriage return and erase-line, so log lines start on a clean line.
  std::fputs("\r\x1b[K", progress_);
  std::fflush(progress_);
  progress_shown_ = false;
}

}  // namespace vantrel::cli
