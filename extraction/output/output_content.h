// What a piece becomes in the run's output, one class per output kind:
// its bytes and what sets it off from the piece before, the output's
// encoding and extension, and whether the output has a separated layout
// and what a separate file is called. Where the output goes (which file or
// folder, created when) is the writer's (output_writer.h), the same for
// every kind.
//
// A new output kind is one new class behind OutputContent, a name in
// OutputKind for the factory to make it by, and the run's plan choosing it
// (run_plan.cpp).
#ifndef VANTREL_EXTRACTION_OUTPUT_OUTPUT_CONTENT_H_
#define VANTREL_EXTRACTION_OUTPUT_OUTPUT_CONTENT_H_

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "extraction/base/piece.h"
#include "extraction/sys/file_system.h"
#include "extraction/text/charsets.h"

namespace vantrel {

// The kinds of output a run can write.
enum class OutputKind {
  // Each piece as it was cut, one after the other, in the run's charset or
  // the output format named (pieces_content.h).
  kPieces,
  // Plain text, pieces set off by a blank line, in ExportN.txt or files
  // named apart (text_content.h).
  kText,
  // One JSON line per piece in ExportN.jsonl (json_lines_content.h).
  kJsonLines,
};

// The kind of a run's output and the encoding the options name for it.
struct OutputForm {
  OutputKind kind = OutputKind::kPieces;
  // The encoding of the output; nothing: the kind's own choice (for pieces,
  // the one of the run's charset).
  std::optional<OutputFormat> format;
};

// Where a page of a web archive came from: its WARC-Record-ID and
// WARC-Date.
struct RecordOrigin {
  std::string_view record_id;
  std::string_view date;
};

// One piece as the writer hands it to the output's content, with what is
// known of its source.
struct OutputEntry {
  const Piece& piece;
  // The source's name, relative to the scanned folder.
  std::u16string_view source;
  // The page's record, when the source is a page of a web archive.
  const RecordOrigin* record = nullptr;
};

class OutputContent {
 public:
  virtual ~OutputContent() = default;

  // The encoding of the whole output; a new file begins with its signature.
  OutputFormat format() const { return format_; }
  // Whether the encoding was chosen by the options or the kind rather than
  // by the run's charset, so that the run's result names it.
  bool format_chosen() const { return format_chosen_; }
  // The collected file's extension.
  virtual std::u16string_view extension() const = 0;
  // Whether the output can be laid out as a folder of separate files; an
  // output that cannot is one collected file even when separate files were
  // asked for.
  virtual bool Separable() const { return true; }
  // Whether the separate files' names are planned from all the run's
  // sources at once (NameSeparateFiles) before the first write.
  virtual bool NamesFromAllSources() const { return false; }
  virtual void NameSeparateFiles(
      const std::vector<std::u16string_view>& /*sources*/) {}
  // The name, relative to the output folder, of the separate file for the
  // source `source`: by default the source's own.
  virtual std::u16string SeparateName(std::u16string_view source) const {
    return std::u16string(source);
  }
  // Appends the entry to `file`, open for it; `new_file` when the file was
  // created for it (its signature is written already). A failure is thrown
  // as RunError, the file cut back to whole pieces.
  virtual void Append(fs::OutputFile& file, bool new_file,
                      const OutputEntry& entry) = 0;

 protected:
  OutputContent(OutputFormat format, bool format_chosen)
      : format_(format), format_chosen_(format_chosen) {}

 private:
  const OutputFormat format_;
  const bool format_chosen_;
};

// The content of a `form` output for a run in `charset` whose first
// extension is `extension`.
std::unique_ptr<OutputContent> MakeOutputContent(const OutputForm& form,
                                                 Charset charset,
                                                 std::u16string extension);

// The text of `piece`: its own, or its bytes decoded into `decoded`.
std::u16string_view PieceText(const Piece& piece, std::u16string& decoded);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_OUTPUT_OUTPUT_CONTENT_H_
