#include "extraction/suggest/page_reading.h"

#include "extraction/source/read_ahead.h"
#include "extraction/source/source_reading.h"

namespace vantrel {

PageReader::PageReader(const PageSource& source)
    : sources_(SourcesInOrder(source.folder, ExtensionFilter(source.extensions),
                              {source.recursive, false})),
      stop_requested_(source.stop_requested) {
  if (source.detect_charset) {
    cutter_.emplace(SourceCutter::Detecting(none_, none_, true));
    return;
  }
  Charset charset = DetectCharset("");
  if (source.charset) {
    charset = *source.charset;
  } else if (!sources_.items.empty()) {
    SourceOpener opener(sources_.root);
    charset = TestFile(opener, sources_.items.front());
  }
  cutter_.emplace(charset, none_, none_, true);
}

void PageReader::StopIfRequested() const {
  if (stop_requested_ && stop_requested_()) throw SuggestionStopped{};
}

std::u16string PageReader::Read(std::size_t index) {
  StopIfRequested();
  SourceOpener opener(sources_.root);
  fs::SourceFile file = opener.Open(sources_.items[index]);
  SourceBuffers buffers;
  file.ReadAll(buffers.bytes);
  file.Close();
  return std::u16string(cutter_->PieceOf(buffers).text);
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
