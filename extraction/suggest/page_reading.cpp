#include "extraction/suggest/page_reading.h"

#include "extraction/run_plan.h"
#include "extraction/source/read_ahead.h"
#include "extraction/source/source_reading.h"
#include "extraction/text/charset_detection.h"
#include "extraction/text/native_names.h"

namespace vantrel {

PageReader::PageReader(const FileSelection& files,
                       std::function<bool()> stop_requested)
    : sources_(SelectedSources(files, /*keep_going=*/false)),
      stop_requested_(std::move(stop_requested)) {
  if (files.charset_per_file()) {
    cutter_.emplace(SourceCutter::Detecting(none_, none_, true));
    return;
  }
  // As a run reads its files.
  RunInputs inputs;
  inputs.files = files;
  const RunPlan plan = PlanRun(inputs, {}, sources_);
  cutter_.emplace(*plan.charset, none_, none_, true);
}

void PageReader::StopIfRequested() const {
  if (stop_requested_ && stop_requested_()) throw SuggestionStopped{};
}

std::u16string PageReader::Read(std::size_t index) {
  StopIfRequested();
  SourceOpener opener(sources_);
  fs::SourceFile file = opener.Open(sources_.items[index]);
  SourceBuffers buffers;
  file.ReadAll(buffers.bytes);
  file.Close();
  return std::u16string(cutter_->PieceOf(buffers).text);
}

std::u16string PageReader::ReadAsShown(std::size_t index) {
  SourceOpener opener(sources_);
  fs::SourceFile file = opener.Open(sources_.items[index]);
  SourceBuffers buffers;
  file.ReadAll(buffers.bytes);
  file.Close();
  const std::string_view bytes = buffers.bytes.bytes();
  std::u16string text;
  text.resize(DecodeDecidedInto(bytes, DecideSourceCharset(bytes), text));
  return text;
}

void PageReader::ForEach(
    const std::function<bool(std::size_t, std::u16string_view)>& visit) {
  ReadAhead reader(sources_, *cutter_);
  for (std::size_t index = 0; index < sources_.items.size(); ++index) {
    StopIfRequested();
    if (!visit(index, reader.Next().text)) return;
  }
}

}  // namespace vantrel
