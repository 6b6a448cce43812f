#include "extraction/output/text_content.h"

#include <string>

#include "extraction/output/pieces_content.h"

namespace vantrel {

TextContent::TextContent(std::optional<OutputFormat> format)
    : OutputContent(format.value_or(OutputFormat::kUtf8), true) {}

void TextContent::NameSeparateFiles(
    const std::vector<std::u16string_view>& sources) {
  names_.emplace(sources);
}

std::u16string TextContent::SeparateName(std::u16string_view source) const {
  return names_ ? names_->For(source) : std::u16string(source);
}

void TextContent::Append(fs::OutputFile& file, bool new_file,
                         const OutputEntry& entry) {
  const Piece& piece = entry.piece;
  // Texts in one file are set off by a blank line; an empty one adds
  // nothing, so that one blank line stands between any two texts.
  const bool empty = piece.windows1256 ? piece.windows1256->empty()
                     : piece.utf8      ? piece.utf8->empty()
                                       : piece.text.empty();
  if (new_file) text_in_file_ = false;
  if (text_in_file_ && !empty) {
    std::string scratch;
    file.Append(EncodedBytes(u"\n\n", format(), scratch));
  }
  if (!empty) text_in_file_ = true;
  AppendPiece(file, piece, format());
}

}  // namespace vantrel
