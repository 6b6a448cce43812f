#include "extraction/output/pieces_content.h"

#include <unicode/utf16.h>

#include <algorithm>
#include <cstddef>
#include <utility>

namespace vantrel {
namespace {

// Writes one piece. UTF-16LE goes straight from the text; other formats are
// encoded a slice at a time, so that a piece as large as its source never
// needs a second whole copy in memory.
void AppendEncoded(fs::OutputFile& file, std::u16string_view piece,
                   OutputFormat format) {
  std::string scratch;
  if (format == OutputFormat::kUtf16Le) {
    file.Append(EncodedBytes(piece, format, scratch));
    return;
  }
  constexpr std::size_t kSlice = std::size_t{1} << 16;
  file.StartPiece();
  do {
    std::size_t n = std::min(kSlice, piece.size());
    // A surrogate pair is one character: keep it in one slice.
    if (n < piece.size() && U16_IS_LEAD(piece[n - 1])) --n;
    file.AppendPart(EncodedBytes(piece.substr(0, n), format, scratch));
    piece.remove_prefix(n);
  } while (!piece.empty());
}

}  // namespace

void AppendPiece(fs::OutputFile& file, const Piece& piece,
                 OutputFormat format) {
  if (piece.windows1256 && format == OutputFormat::kWindows1256) {
    file.Append(*piece.windows1256);
  } else if (piece.utf8 && format == OutputFormat::kUtf8) {
    file.Append(*piece.utf8);
  } else {
    std::u16string decoded;
    AppendEncoded(file, PieceText(piece, decoded), format);
  }
}

PiecesContent::PiecesContent(std::optional<OutputFormat> format,
                             Charset charset, std::u16string extension)
    : OutputContent(format.value_or(OutputFormatFor(charset)),
                    format.has_value()),
      extension_(std::move(extension)) {}

void PiecesContent::Append(fs::OutputFile& file, bool /*new_file*/,
                           const OutputEntry& entry) {
  AppendPiece(file, entry.piece, format());
}

}  // namespace vantrel
