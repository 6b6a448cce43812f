#include "tests/support/recording_sink.h"

#include "extraction/defaults.h"
#include "extraction/text/text.h"

namespace vantrel::testing {
namespace {

std::string Quoted(std::u16string_view text) {
  std::string out = "\"";
  for (char c : TextToUtf8(text)) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace

RunInputs StartupInputs(std::u16string folder) {
  RunInputs inputs;
  inputs.start_marker = kDefaultStartMarker;
  inputs.end_marker = kDefaultEndMarker;
  inputs.files.folder = std::move(folder);
  inputs.files.extensions = {std::u16string(kDefaultExtension)};
  return inputs;
}

void RecordingSink::Record(const std::string& line) {
  transcript += line;
  transcript += '\n';
}

void RecordingSink::Started() {
  log.clear();
  summary.clear();
  busy = true;
  Record("started");
}

void RecordingSink::Logged(const LogEntry& entry) {
  const std::u16string line = LogLine(entry);
  log.append(line).append(u"\r\n");
  Record("log " + Quoted(line));
}

void RecordingSink::PieceWritten(std::int64_t done, std::int64_t total) {
  Record("piece " + std::to_string(done) + " of " + std::to_string(total));
}

void RecordingSink::Finished(const RunResult& result) {
  if (result.end != RunResult::End::kErrorTrap) {
    summary = result.summary;
    Record("summary " + Quoted(summary));
  }
  busy = false;
  Record("finished");
}

}  // namespace vantrel::testing
