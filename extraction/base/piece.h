// A piece on its way from its source to the output, and the stage between
// the two that may turn it into something else.
//
// A piece takes one path: it is cut out of its source (source_cut.h), goes
// through the run's transform if it has one, and is written (output_writer.h).
// Without a transform, a windows-1256 piece may travel as the bytes it was,
// so that it is never decoded and encoded again; likewise a UTF-8 piece
// into a transform that reads UTF-8, and a transform's UTF-8 result into a
// UTF-8 output.
#ifndef VANTREL_EXTRACTION_BASE_PIECE_H_
#define VANTREL_EXTRACTION_BASE_PIECE_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// Where a piece begins as HTML reads its source: outside every tag, or
// inside the tag (or comment) that the start marker's match ended in, and
// then where in it. match/tag_cut.h decides it from the source.
enum class TagCut : unsigned char {
  kNone,           // outside a tag
  kInTag,          // in a tag, outside its attribute values
  kAfterEquals,    // in a tag, where an attribute value may begin
  kInDoubleQuote,  // in a tag, in a value quoted with "
  kInSingleQuote,  // in a tag, in a value quoted with '
  kInComment,      // in a comment
};

struct Piece {
  Piece() = default;
  // Implicit: a text is a piece.
  Piece(std::u16string_view piece_text) : text(piece_text) {}
  // A piece given as windows-1256 bytes that decoding and encoding again
  // would give back unchanged; its text is left undecoded.
  static Piece Windows1256(std::string_view bytes) {
    Piece piece;
    piece.windows1256 = bytes;
    return piece;
  }
  // A piece given as well-formed UTF-8 bytes, its text left undecoded: a
  // UTF-8 output takes them as they are.
  static Piece Utf8(std::string_view bytes) {
    Piece piece;
    piece.utf8 = bytes;
    return piece;
  }

  // The piece's text, unless it is given as bytes.
  std::u16string_view text;
  std::optional<std::string_view> windows1256;
  std::optional<std::string_view> utf8;
  // Where the piece begins in its source's HTML.
  TagCut tag_cut = TagCut::kNone;
};

// The memory a transform may give its pieces in, kept from one piece to
// the next.
struct PieceScratch {
  std::u16string text;
  std::string bytes;

  // Bytes of memory held.
  std::size_t capacity() const {
    return text.capacity() * sizeof(char16_t) + bytes.capacity();
  }
};

// What a run does to each piece between cutting and writing it. A run
// without one writes each piece as it was cut. A run's transform may work
// on two threads at once (read_ahead.h): Apply must not change the object.
class PieceTransform {
 public:
  virtual ~PieceTransform() = default;

  // True when Apply needs the piece's text: every piece of the run is then
  // decoded, and none comes as windows-1256 bytes.
  virtual bool NeedsText() const = 0;
  // True when Apply takes a piece given as UTF-8 bytes as well as its text:
  // a UTF-8 source's well-formed piece then comes undecoded.
  virtual bool TakesUtf8() const { return false; }
  // True when Apply gives plain text rather than a piece of the source's
  // kind: the run's output is then text (ExportN.txt, UTF-8 unless the run
  // names another encoding).
  virtual bool GivesText() const { return false; }

  // The piece to write instead of `piece`; it may view `scratch`, which the
  // transform may fill, or `piece` itself.
  virtual Piece Apply(const Piece& piece, PieceScratch& scratch) const = 0;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_BASE_PIECE_H_
