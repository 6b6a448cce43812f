// Puts each extracted piece into the run's output.
//
// The run's first write chooses the output once for the whole run: a new
// collected file ExportN.<extension> in the output folder (the scanned
// folder, unless the run names another), or, with "separated files" ticked
// and an output kind that has that layout, a new folder ExportN holding one
// file per source, named as the kind names it (in the source's sub-folder,
// when the run reads sub-folders). N is the first free number from 1. Every
// write opens, appends to and closes its file, so each finished piece is on
// disk. What goes into the files, their encoding, the extension and the
// separate files' names are the output kind's (output_content.h); where
// they go is the writer's, the same for every kind.
#ifndef VANTREL_EXTRACTION_OUTPUT_OUTPUT_WRITER_H_
#define VANTREL_EXTRACTION_OUTPUT_OUTPUT_WRITER_H_

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "extraction/base/piece.h"
#include "extraction/output/output_content.h"
#include "extraction/sys/file_system.h"
#include "extraction/text/charsets.h"

namespace vantrel {

// The output of one run. It is handed the folder, the run's charset, the
// tick box and the extension when the run starts (none can change while a
// run works), chooses and creates the output at its first write, and
// remembers what it created, so that a front end can name the run's output
// without guessing from the names after the fact.
class OutputWriter {
 public:
  // A writer for a run over `folder` in `charset`, which decides the output
  // format unless `form` does. A dry run's writer chooses the output as a
  // real one would, failing where a real one would fail to make it, but
  // creates and writes nothing.
  OutputWriter(std::u16string folder, Charset charset, bool separate,
               std::u16string extension, bool dry_run = false,
               OutputForm form = {});

  // Whether the separate files' names are planned from the names of all
  // the run's sources, to be given to NameSeparateFiles before any write.
  bool NamesFromAllSources() const {
    return separate_ && content_->NamesFromAllSources();
  }
  void NameSeparateFiles(const std::vector<std::u16string_view>& sources);

  // Appends the piece from the source named `fName` to the run's output,
  // as the output's kind writes it; in separated mode its file is named
  // from `file_name` (when not empty, else `fName`). A page of a web
  // archive gives its `record`. Failures are thrown as RunError.
  void WriteFile(const Piece& piece, std::u16string_view fName,
                 std::u16string_view file_name = {},
                 const RecordOrigin* record = nullptr);

  // The encoding the pieces are written in.
  OutputFormat format() const { return content_->format(); }
  // Whether the run's options chose the encoding rather than its charset.
  bool format_chosen() const { return content_->format_chosen(); }
  // Whether a write has chosen the output.
  bool started() const { return started_; }
  // The file that the last write went into (or, in a dry run, would have).
  const std::u16string& out_file() const { return out_file_; }
  // The output folder in separated mode, without a trailing separator.
  const std::u16string& out_folder() const { return out_folder_; }
  // The file or folder that this run created and left behind (in a dry
  // run: would have created), or nothing.
  const std::optional<std::u16string>& made() const { return made_; }

 private:
  // Creates the collected file under the first free name, or in a dry run
  // only chooses it (and gives nothing).
  std::optional<fs::OutputFile> CreateOutputFile();
  // Creates the output folder under the first free name, or in a dry run
  // only chooses it.
  void CreateOutputFolder();
  // In separated mode, creates the file for the source `fName` in the
  // output folder, and the folders that a name below a sub-folder
  // ("2024/may/page.htm") needs, each reached from the one above it.
  fs::OutputFile CreateSeparateFile(std::u16string_view fName);

  const std::u16string folder_;
  const std::unique_ptr<OutputContent> content_;
  const bool separate_;
  const bool dry_run_;
  bool started_ = false;
  std::u16string out_file_;
  std::u16string out_folder_;
  std::optional<std::u16string> made_;
  // In separated mode, the output folder once open, and the folders below
  // it that the last file went into.
  std::unique_ptr<fs::Folder> output_folder_;
  std::optional<fs::FolderPath> output_path_;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_OUTPUT_OUTPUT_WRITER_H_
