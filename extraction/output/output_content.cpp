#include "extraction/output/output_content.h"

#include <utility>

#include "extraction/output/json_lines_content.h"
#include "extraction/output/pieces_content.h"
#include "extraction/output/text_content.h"
#include "extraction/text/text.h"

namespace vantrel {

std::unique_ptr<OutputContent> MakeOutputContent(const OutputForm& form,
                                                 Charset charset,
                                                 std::u16string extension) {
  switch (form.kind) {
    case OutputKind::kText:
      return std::make_unique<TextContent>(form.format);
    case OutputKind::kJsonLines:
      return std::make_unique<JsonLinesContent>();
    case OutputKind::kPieces:
      break;
  }
  return std::make_unique<PiecesContent>(form.format, charset,
                                         std::move(extension));
}

std::u16string_view PieceText(const Piece& piece, std::u16string& decoded) {
  if (piece.windows1256) {
    decoded.resize(
        DecodePieceInto(*piece.windows1256, Charset::kWindows1256, decoded));
    return decoded;
  }
  if (piece.utf8) {
    AppendUtf8AsText(*piece.utf8, decoded);
    return decoded;
  }
  return piece.text;
}

}  // namespace vantrel
