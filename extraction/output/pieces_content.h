// The output of pieces as they were cut: one after the other, nothing
// between them, in the run's charset's output format or the one the options
// name; separate files are named like their sources.
#ifndef VANTREL_EXTRACTION_OUTPUT_PIECES_CONTENT_H_
#define VANTREL_EXTRACTION_OUTPUT_PIECES_CONTENT_H_

#include <optional>
#include <string>
#include <string_view>

#include "extraction/base/piece.h"
#include "extraction/output/output_content.h"
#include "extraction/sys/file_system.h"
#include "extraction/text/charsets.h"

namespace vantrel {

class PiecesContent : public OutputContent {
 public:
  // The run's first extension names the collected file.
  PiecesContent(std::optional<OutputFormat> format, Charset charset,
                std::u16string extension);

  std::u16string_view extension() const override { return extension_; }
  void Append(fs::OutputFile& file, bool new_file,
              const OutputEntry& entry) override;

 private:
  const std::u16string extension_;
};

// Appends `piece` to `file` in `format`. A piece given as windows-1256
// bytes goes into a windows-1256 output as it is, and one given as UTF-8
// bytes into a UTF-8 output; any other output takes its text.
void AppendPiece(fs::OutputFile& file, const Piece& piece, OutputFormat format);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_OUTPUT_PIECES_CONTENT_H_
