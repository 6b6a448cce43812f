#include "extraction/suggest/page_reading.h"

#include "extraction/source/read_ahead.h"
#include "extraction/source/source_reading.h"
#include "extraction/text/charset_detection.h"

namespace vantrel {

PageReader::PageReader(const PageSource& source)
    : sources_(SourcesInOrder(source.folder, ExtensionFilter(source.extensions),
                              {source.recursive, false})) {
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

std::u16string PageReader::Read(std::size_t index) {
  SourceOpener opener(sources_.root);
  fs::SourceFile file = opener.Open(sources_.items[index]);
  SourceBuffers buffers;
  file.ReadAll(buffers.bytes);
  file.Close();
  return std::u16string(cutter_->PieceOf(buffers).text);
}

std::u16string PageReader::ReadAsShown(std::size_t index) {
  SourceOpener opener(sources_.root);
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
    if (!visit(index, reader.Next().text)) return;
  }
}

}  // namespace vantrel
