#include "extraction/source_cut.h"

#include <bit>

#include "extraction/code_page.h"

namespace vantrel {
namespace {

// The bytes that stand for the matcher's marker, when it has an exact one.
std::optional<std::string> MarkerBytes(const Matcher& matcher,
                                       Charset charset) {
  const std::u16string* marker = matcher.ExactMarker();
  if (marker == nullptr) return std::nullopt;
  return SearchableBytes(*marker, charset);
}

}  // namespace

SourceCutter::SourceCutter(Charset charset, const Matcher& start,
                           const Matcher& end, bool whole_texts)
    : charset_(charset),
      start_(start),
      end_(end),
      in_place_(charset == Charset::kUnicode &&
                std::endian::native == std::endian::little) {
  if (whole_texts) return;
  start_bytes_ = MarkerBytes(start, charset);
  end_bytes_ = MarkerBytes(end, charset);
  if (!start_bytes_ || !end_bytes_) start_bytes_ = end_bytes_ = std::nullopt;
}

CutSource SourceCutter::Cut(SourceBuffers& buffers) const {
  const std::string_view all = buffers.bytes.bytes();
  const std::string_view signature = SignatureOf(charset_);
  const std::size_t skip = all.starts_with(signature) ? signature.size() : 0;
  if (in_place_) return CutText(buffers.bytes.UnitsFrom(skip));

  if (start_bytes_) {
    const std::string_view bytes = all.substr(skip);
    const vantrel::Cut cut = CutWith(
        bytes, [&](std::string_view b) { return FindBytes(b, *start_bytes_); },
        [&](std::string_view b) { return FindBytes(b, *end_bytes_); });
    // A source that gives no piece is reported with its text: it is cut
    // again below, to the same outcome.
    if (cut.outcome == FileOutcome::kExtracted) {
      const std::string_view piece =
          bytes.substr(cut.piece.begin, cut.piece.size());
      CutSource source;
      if (charset_ == Charset::kWindows1256) {
        source.cut = cut;  // one byte is one unit
        if (CodePage::Windows1256().RoundTrips(piece)) {
          source.piece_bytes = piece;
          return source;
        }
      } else {
        source.cut.outcome = FileOutcome::kExtracted;
      }
      const std::size_t n = DecodePieceInto(piece, charset_, buffers.units);
      source.piece = {buffers.units.data(), n};
      return source;
    }
  }
  const std::size_t n = DecodeTextInto(all, charset_, buffers.units);
  return CutText({buffers.units.data(), n});
}

CutSource SourceCutter::CutText(std::u16string_view text) const {
  CutSource source;
  source.cut = CutPiece(text, start_, end_);
  source.text = text;
  if (source.cut.outcome == FileOutcome::kExtracted) {
    source.piece = text.substr(source.cut.piece.begin, source.cut.piece.size());
  }
  return source;
}

}  // namespace vantrel
