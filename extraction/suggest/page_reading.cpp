#include "extraction/suggest/page_reading.h"

#include <cstring>

#include "extraction/run_plan.h"
#include "extraction/source/read_ahead.h"
#include "extraction/source/source_reading.h"
#include "extraction/source/warc/web_archive.h"
#include "extraction/text/charset_detection.h"
#include "extraction/text/native_names.h"

namespace vantrel {

PageReader::PageReader(const FileSelection& files,
                       std::function<bool()> stop_requested)
    : sources_(SelectedSources(files, /*keep_going=*/false)),
      stop_requested_(std::move(stop_requested)) {
  Sample();
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

void PageReader::Sample() {
  bool archives = false;
  for (const SourceItem& item : sources_.items) {
    archives = archives || item.web_archive;
  }
  if (!archives) return;
  sampled_ = true;
  SourceOpener opener(sources_);
  for (const SourceItem& item : sources_.items) {
    if (sample_.size() == kSamplePages) return;
    StopIfRequested();
    if (!item.web_archive) {
      fs::SourceFile file = opener.Open(item);
      SourceBuffers buffers;
      file.ReadAll(buffers.bytes);
      file.Close();
      sample_.push_back({std::string(buffers.bytes.bytes()), {}});
      continue;
    }
    warc::ArchiveCursor cursor(opener.Open(item));
    for (warc::WarcReader::Item next = cursor.Next();
         next != warc::WarcReader::Item::kEnd && sample_.size() < kSamplePages;
         next = cursor.Next()) {
      if (next != warc::WarcReader::Item::kPage) continue;
      sample_.push_back(
          {std::move(cursor.page().body), std::move(cursor.page().charset)});
    }
  }
}

SourcePiece PageReader::CutSample(std::size_t index,
                                  SourceBuffers& buffers) const {
  const SamplePage& page = sample_[index];
  buffers.bytes.Resize(page.bytes.size(), 0);
  if (!page.bytes.empty()) {
    std::memcpy(buffers.bytes.data(), page.bytes.data(), page.bytes.size());
  }
  return cutter_->PieceOf(buffers, page.charset);
}

void PageReader::StopIfRequested() const {
  if (stop_requested_ && stop_requested_()) throw SuggestionStopped{};
}

std::u16string PageReader::Read(std::size_t index) {
  StopIfRequested();
  if (sampled_) {
    SourceBuffers buffers;
    return std::u16string(CutSample(index, buffers).text);
  }
  SourceOpener opener(sources_);
  fs::SourceFile file = opener.Open(sources_.items[index]);
  SourceBuffers buffers;
  file.ReadAll(buffers.bytes);
  file.Close();
  return std::u16string(cutter_->PieceOf(buffers).text);
}

std::u16string PageReader::ReadAsShown(std::size_t index) {
  if (sampled_) {
    const SamplePage& page = sample_[index];
    std::u16string text;
    text.resize(DecodeDecidedInto(
        page.bytes, DecideSourceCharset(page.bytes, page.charset), text));
    return text;
  }
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
  if (sampled_) {
    SourceBuffers buffers;
    for (std::size_t index = 0; index < sample_.size(); ++index) {
      StopIfRequested();
      if (!visit(index, CutSample(index, buffers).text)) return;
    }
    return;
  }
  ReadAhead reader(sources_, *cutter_);
  for (std::size_t index = 0; index < sources_.items.size(); ++index) {
    StopIfRequested();
    if (!visit(index, reader.Next().text)) return;
  }
}

}  // namespace vantrel
