// Cutting a source as it was read, decoding no more of it than the output
// and the front ends need.
//
// When both markers are exact and the run's charset lets their bytes be
// found in a source's own bytes (charsets.h, SearchableBytes), the source
// is cut in its bytes: a UTF-8 source then has only its piece decoded, and
// a windows-1256 source none of it, its piece going to the output as the
// bytes it was wherever those are what encoding its text again would give.
// A UTF-16LE source is its own text where it lies. Everything else, any
// other kind of matcher included, and every source that gives no piece, is
// decoded whole and cut with the matchers, so that the fast ways only ever
// give what decoding the whole text gives, and a file that gave no piece is
// always reported with its text.
#ifndef VANTREL_EXTRACTION_SOURCE_SOURCE_CUT_H_
#define VANTREL_EXTRACTION_SOURCE_SOURCE_CUT_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "extraction/base/piece.h"
#include "extraction/base/source_buffer.h"
#include "extraction/match/cut.h"
#include "extraction/match/marker_search.h"
#include "extraction/text/charset_detection.h"
#include "extraction/text/charsets.h"

namespace vantrel {

// The memory one source is read and cut in, kept from one source to the
// next.
struct SourceBuffers {
  SourceBuffer bytes;    // the source as read
  std::u16string units;  // its decoded text, or only its piece

  // Bytes of memory held.
  std::size_t capacity() const {
    return bytes.capacity() + units.capacity() * sizeof(char16_t);
  }
  void Release() {
    bytes.Release();
    std::u16string().swap(units);
  }
};

// What a source gave; it views the buffers it was cut in.
struct SourcePiece {
  // As CutPiece gives it on the whole text, except that a UTF-8 source cut
  // in its bytes tells only its outcome (kExtracted), its ranges zero.
  CutResult cut;
  // The whole decoded text; empty for a source whose piece was cut out of
  // its bytes without decoding the whole.
  std::u16string_view text;
  // The source's bytes as read, signature included.
  std::string_view bytes;

  // The piece (kExtracted), whole: whatever of it was left undecoded is
  // decoded here, on whichever thread writes the piece.
  Piece TakePiece();

  // The piece as cut: its text, or its windows-1256 bytes as they are; a
  // large UTF-8 piece may have its end still in `piece_rest`.
  Piece piece;
  std::string_view piece_rest;
  std::u16string* units = nullptr;  // where `piece.text` lies

  // The charset decided for this source alone, in a run that decides each.
  std::optional<CharsetDecision> decision;
};

// Cuts sources. With sources read ahead on another thread (read_ahead.h),
// the cutter works there; a large UTF-8 piece is then only half decoded, and
// the rest left to the thread that writes it: with pages that large,
// reading and decoding outweigh all else, and one thread would otherwise
// wait for the other.
class SourceCutter {
 public:
  // A cutter for a run in `charset` with the two matchers, which must
  // outlive it. With `whole_texts`, every source is decoded whole; with
  // `piece_texts`, no piece is given as windows-1256 bytes; with
  // `utf8_pieces`, a UTF-8 source's piece cut in its bytes comes as those
  // bytes (Piece::Utf8) where they are well-formed, and is not decoded.
  SourceCutter(Charset charset, const Matcher& start, const Matcher& end,
               bool whole_texts, bool piece_texts = false,
               bool utf8_pieces = false);

  // A cutter that decides each source's charset on its own. A source in one
  // of the four charsets is cut as a run in that charset cuts it (every
  // piece decoded); one in another charset is decoded whole through ICU.
  static SourceCutter Detecting(const Matcher& start, const Matcher& end,
                                bool whole_texts);

  // Cuts the source that `buffers.bytes` holds, decoding into
  // `buffers.units` whatever needs decoding. The bytes may be changed. A
  // cutter that decides each source's charset takes `declared`, a charset
  // label that came with the source, as its meta charset.
  SourcePiece PieceOf(SourceBuffers& buffers,
                      std::string_view declared = {}) const;

 private:
  SourcePiece CutBytes(SourceBuffers& buffers) const;
  SourcePiece CutText(std::u16string_view text) const;

  Charset charset_;
  const Matcher& start_;
  const Matcher& end_;
  // The markers' bytes, when the sources are cut in their bytes.
  std::optional<std::string> start_bytes_, end_bytes_;
  bool in_place_;  // UTF-16LE on a little-endian machine
  bool piece_texts_;
  bool utf8_pieces_;
  bool detect_ = false;
  // In a cutter that decides each source's charset: the cutter for each of
  // the four, in the order of Charset.
  std::vector<SourceCutter> by_charset_;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_SOURCE_SOURCE_CUT_H_
