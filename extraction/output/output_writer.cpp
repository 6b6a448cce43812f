#include "extraction/output/output_writer.h"

#include <unicode/utf16.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <optional>

#include "extraction/output/output_names.h"
#include "extraction/sys/file_system.h"
#include "extraction/text/charsets.h"
#include "extraction/text/native_names.h"

namespace vantrel {
namespace {

// Creates the collected file under the first free name, or in a dry run
// only chooses it (and gives nothing), failing where the create would. A
// folder of that name is in the way and fails the run; a name that is taken
// when the file is created (a rival run, a planted link) is passed over
// like one that was seen to exist.
std::optional<fs::OutputFile> CreateOutputFile(RunState& state,
                                               std::u16string_view extension,
                                               bool dry_run) {
  const auto taken = TakenOutputNumbers::OfFiles(state.SourcePath, extension);
  for (std::int64_t n = taken.FirstFree();; n = taken.FirstFree(n + 1)) {
    state.OutFile = OutputFileName(state.SourcePath, n, extension);
    const fs::Path path = NativePath(state.OutFile);
    if (dry_run) {
      if (!fs::EntryExists(path)) {
        fs::CheckCreatable(path, /*folder=*/false);
        return std::nullopt;
      }
    } else if (auto file = fs::OutputFile::CreateNew(path)) {
      return file;
    }
    if (fs::IsFolder(path)) fs::Fail("cannot create", path, EISDIR);
  }
}

// Creates the output folder under the first free name, or in a dry run
// only chooses it, failing where the create would. A plain file of that
// name is in the way and fails the run; a folder or link that appeared
// since the listing is passed over.
void CreateOutputFolder(RunState& state, bool dry_run) {
  const auto taken = TakenOutputNumbers::OfFolders(state.SourcePath);
  for (std::int64_t n = taken.FirstFree();; n = taken.FirstFree(n + 1)) {
    state.OutFolder = OutputFolderName(state.SourcePath, n);
    const fs::Path path = NativePath(state.OutFolder);
    if (dry_run ? !fs::EntryExists(path) : fs::CreateFolder(path)) {
      if (dry_run) fs::CheckCreatable(path, /*folder=*/true);
      return;
    }
    if (!fs::IsFolderOrLink(path)) {
      fs::Fail("cannot create folder", path, EEXIST);
    }
  }
}

// Writes one piece. UTF-16LE goes straight from the text; other formats are
// encoded a slice at a time, so that a piece as large as its source never
// needs a second whole copy in memory.
void WritePiece(fs::OutputFile& file, std::u16string_view piece,
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

OutputWriter::OutputWriter(RunState& state, bool separate,
                           std::u16string extension, bool dry_run)
    : state_(state),
      separate_(separate),
      dry_run_(dry_run),
      extension_(std::move(extension)) {}

template <typename PieceWriter>
void OutputWriter::Write(std::u16string_view fName,
                         const PieceWriter& write_piece) {
  std::optional<fs::OutputFile> new_file;
  bool first_write = false;
  if (state_.OutCharset.empty()) {
    first_write = true;
    state_.OutCharset = state_.SourceCharset;
    format_ = OutputFormatFor(state_.OutCharset);
    if (separate_) {
      CreateOutputFolder(state_, dry_run_);
      made_ = state_.OutFolder;
    } else {
      if (auto file = CreateOutputFile(state_, extension_, dry_run_)) {
        new_file.emplace(std::move(*file));
      }
      if (dry_run_) made_ = state_.OutFile;
    }
  }
  if (separate_) {
    state_.OutFile = state_.OutFolder + kSeparator + std::u16string(fName);
  }
  if (dry_run_) return;
  if (separate_) new_file.emplace(CreateSeparateFile(fName));

  const bool is_new = new_file.has_value();
  fs::OutputFile file =
      is_new ? std::move(*new_file)
             : fs::OutputFile::OpenForAppend(NativePath(state_.OutFile));
  // The signature goes only at the head of a new file, so that a collected
  // file stays one well-formed UTF-16 text.
  if (is_new) file.Append(Signature(format_));
  write_piece(file);
  file.Close();
  // A collected file that failed on its first write was removed again.
  if (first_write && !separate_) made_ = state_.OutFile;
}

void OutputWriter::WriteFile(std::u16string_view Matn,
                             std::u16string_view fName) {
  Write(fName, [&](fs::OutputFile& file) { WritePiece(file, Matn, format_); });
}

void OutputWriter::WriteBytes(std::string_view windows1256,
                              std::u16string_view fName) {
  Write(fName, [&](fs::OutputFile& file) {
    if (format_ == OutputFormat::kWindows1256) {
      file.Append(windows1256);
      return;
    }
    std::u16string text;
    text.resize(DecodePieceInto(windows1256, Charset::kWindows1256, text));
    WritePiece(file, text, format_);
  });
}

fs::OutputFile OutputWriter::CreateSeparateFile(std::u16string_view fName) {
  if (!output_folder_) {
    output_folder_ = std::make_unique<fs::Folder>(
        fs::Folder::Open(NativePath(state_.OutFolder), /*to_list=*/false));
    output_path_.emplace(*output_folder_, /*make=*/true);
  }
  const std::string relative = TextToNative(fName);
  const std::size_t slash = relative.rfind('/');
  const std::string_view folder =
      slash == std::string::npos ? std::string_view()
                                 : std::string_view(relative).substr(0, slash);
  // (With no slash, npos + 1 is 0: the whole name.)
  auto created = output_path_->At(folder).CreateFile(
      std::string_view(relative).substr(slash + 1));
  if (!created) fs::Fail("cannot create", NativePath(state_.OutFile), EEXIST);
  return std::move(*created);
}

}  // namespace vantrel
