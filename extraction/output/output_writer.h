// Puts each extracted piece into the run's output.
//
// The run's first write chooses the output once for the whole run: a new
// collected file ExportN.<extension> in the scanned folder, or, with
// "separated files" ticked, a new folder ExportN holding one file per source
// named like the source (in the source's sub-folder, when the run reads
// sub-folders). N is the first free number from 1. Every write opens,
// appends to and closes its file, so each finished piece is on disk.
#ifndef VANTREL_EXTRACTION_OUTPUT_OUTPUT_WRITER_H_
#define VANTREL_EXTRACTION_OUTPUT_OUTPUT_WRITER_H_

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "extraction/run_state.h"
#include "extraction/sys/file_system.h"
#include "extraction/text/charsets.h"

namespace vantrel {

// The output of one run. It is handed the tick box and the extension when
// the run reads its inputs (they cannot change while a run works), chooses
// and creates the output at the run's first write (when `state.OutCharset`
// is empty), and remembers what it created, so that a front end can name
// the run's output without guessing from the names after the fact.
class OutputWriter {
 public:
  // A dry run's writer chooses the output as a real one would, failing
  // where a real one would fail to make it, but creates and writes nothing.
  OutputWriter(RunState& state, bool separate, std::u16string extension,
               bool dry_run = false);

  // Appends the piece `Matn` from the source named `fName` to the run's
  // output. Failures are thrown as RunError.
  void WriteFile(std::u16string_view Matn, std::u16string_view fName);

  // WriteFile for a piece given as windows-1256 bytes that decoding and
  // encoding again would give back unchanged: a windows-1256 output takes
  // them as they are; any other output takes their text.
  void WriteBytes(std::string_view windows1256, std::u16string_view fName);

  // The file or folder that this run created and left behind (in a dry
  // run: would have created), or nothing.
  const std::optional<std::u16string>& made() const { return made_; }

 private:
  // Opens (or creates) the file that the piece from `fName` goes into,
  // writes it with `write_piece`, and closes it.
  template <typename PieceWriter>
  void Write(std::u16string_view fName, const PieceWriter& write_piece);
  // In separated mode, creates the file for the source `fName` in the
  // output folder, and the folders that a name below a sub-folder
  // ("2024/may/page.htm") needs, each reached from the one above it.
  fs::OutputFile CreateSeparateFile(std::u16string_view fName);

  RunState& state_;
  const bool separate_;
  const bool dry_run_;
  const std::u16string extension_;
  std::optional<std::u16string> made_;
  // In separated mode, the output folder once open, and the folders below
  // it that the last file went into.
  std::unique_ptr<fs::Folder> output_folder_;
  std::optional<fs::FolderPath> output_path_;
  // Chosen at the run's first write from OutCharset.
  OutputFormat format_ = OutputFormat::kUtf16Le;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_OUTPUT_OUTPUT_WRITER_H_
