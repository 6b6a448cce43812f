#include "extraction/source/source_cut.h"

#include <bit>

#include "extraction/match/tag_cut.h"
#include "extraction/text/code_page.h"
#include "extraction/text/text.h"

namespace vantrel {
namespace {

// From this many bytes on, a UTF-8 piece is decoded half here and half by
// the thread that writes it.
constexpr std::size_t kSharedPiece = std::size_t{1} << 20;

// Where `piece` may be cut in two near its middle for decoding each half on
// its own: before a byte that is not a continuation byte, which always
// begins a sequence of the whole decoded text (an ill-formed sequence ends
// before any such byte, as a well-formed one does). 0 when none is near.
std::size_t MiddleBoundary(std::string_view piece) {
  const std::size_t middle = piece.size() / 2;
  for (std::size_t at = middle; at < piece.size() && at < middle + 64; ++at) {
    if ((static_cast<unsigned char>(piece[at]) & 0xC0) != 0x80) return at;
  }
  return 0;
}

// The bytes that stand for the matcher's marker, when it has an exact one.
std::optional<std::string> MarkerBytes(const Matcher& matcher,
                                       Charset charset) {
  const std::u16string* marker = matcher.ExactMarker();
  if (marker == nullptr) return std::nullopt;
  return SearchableBytes(*marker, charset);
}

}  // namespace

SourceCutter::SourceCutter(Charset charset, const Matcher& start,
                           const Matcher& end, bool whole_texts,
                           bool piece_texts, bool utf8_pieces)
    : charset_(charset),
      start_(start),
      end_(end),
      in_place_(charset == Charset::kUtf16Le &&
                std::endian::native == std::endian::little),
      piece_texts_(piece_texts),
      utf8_pieces_(utf8_pieces) {
  if (whole_texts) return;
  start_bytes_ = MarkerBytes(start, charset);
  end_bytes_ = MarkerBytes(end, charset);
  if (!start_bytes_ || !end_bytes_) start_bytes_ = end_bytes_ = std::nullopt;
}

SourceCutter SourceCutter::Detecting(const Matcher& start, const Matcher& end,
                                     bool whole_texts) {
  SourceCutter cutter(Charset::kUtf8, start, end, true, true);
  cutter.in_place_ = false;
  cutter.detect_ = true;
  for (const Charset charset : {Charset::kUtf16Le, Charset::kUtf16Be,
                                Charset::kUtf8, Charset::kWindows1256}) {
    cutter.by_charset_.emplace_back(charset, start, end, whole_texts, true);
  }
  return cutter;
}

SourcePiece SourceCutter::PieceOf(SourceBuffers& buffers,
                                  std::string_view declared) const {
  if (detect_) {
    const std::string_view all = buffers.bytes.bytes();
    CharsetDecision decision = DecideSourceCharset(all, declared);
    SourcePiece source;
    if (decision.fast) {
      source = by_charset_[static_cast<std::size_t>(*decision.fast)].PieceOf(
          buffers);
    } else {
      const std::size_t n = DecodeDecidedInto(all, decision, buffers.units);
      source = CutText({buffers.units.data(), n});
      source.bytes = all;
    }
    source.decision = std::move(decision);
    return source;
  }
  SourcePiece source = CutBytes(buffers);
  source.bytes = buffers.bytes.bytes();
  return source;
}

SourcePiece SourceCutter::CutBytes(SourceBuffers& buffers) const {
  const std::string_view all = buffers.bytes.bytes();
  const std::string_view signature = SignatureOf(charset_);
  const std::size_t skip = all.starts_with(signature) ? signature.size() : 0;
  if (in_place_) return CutText(buffers.bytes.UnitsFrom(skip));

  if (start_bytes_) {
    const std::string_view bytes = all.substr(skip);
    const vantrel::CutResult cut = CutWith(
        bytes, [&](std::string_view b) { return FindBytes(b, *start_bytes_); },
        [&](std::string_view b, std::size_t from) {
          return MovedOn(FindBytes(b.substr(from), *end_bytes_), from);
        });
    // A source that gives no piece is reported with its text: it is cut
    // again below, to the same outcome.
    if (cut.outcome == FileOutcome::kExtracted) {
      const std::string_view piece =
          bytes.substr(cut.piece.begin, cut.piece.size());
      // Both charsets spell every ASCII character as its own byte.
      const TagCut tag_cut = TagCutAt(bytes, cut.piece.begin);
      SourcePiece source;
      if (charset_ == Charset::kWindows1256) {
        source.cut = cut;  // one byte is one unit
        if (!piece_texts_ && CodePage::Windows1256().RoundTrips(piece)) {
          source.piece = Piece::Windows1256(piece);
          source.piece.tag_cut = tag_cut;
          return source;
        }
      } else {
        source.cut.outcome = FileOutcome::kExtracted;
        if (utf8_pieces_ && charset_ == Charset::kUtf8 &&
            IsWellFormedUtf8(piece)) {
          source.piece = Piece::Utf8(piece);
          source.piece.tag_cut = tag_cut;
          return source;
        }
      }
      std::string_view now = piece;
      if (charset_ == Charset::kUtf8 && piece.size() >= kSharedPiece) {
        if (const std::size_t middle = MiddleBoundary(piece)) {
          now = piece.substr(0, middle);
          source.piece_rest = piece.substr(middle);
        }
      }
      const std::size_t n = DecodePieceInto(now, charset_, buffers.units);
      source.piece.text = {buffers.units.data(), n};
      source.piece.tag_cut = tag_cut;
      source.units = &buffers.units;
      return source;
    }
  }
  const std::size_t n = DecodeTextInto(all, charset_, buffers.units);
  return CutText({buffers.units.data(), n});
}

Piece SourcePiece::TakePiece() {
  if (!piece_rest.empty()) {
    const std::size_t n =
        DecodePieceInto(piece_rest, Charset::kUtf8, *units, piece.text.size());
    piece.text = {units->data(), piece.text.size() + n};
    piece_rest = {};
  }
  return piece;
}

SourcePiece SourceCutter::CutText(std::u16string_view text) const {
  SourcePiece source;
  source.cut = CutPiece(text, start_, end_);
  source.text = text;
  if (source.cut.outcome == FileOutcome::kExtracted) {
    source.piece.text =
        text.substr(source.cut.piece.begin, source.cut.piece.size());
    source.piece.tag_cut = TagCutAt(text, source.cut.piece.begin);
  }
  return source;
}

}  // namespace vantrel
