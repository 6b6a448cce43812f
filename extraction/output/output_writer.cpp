#include "extraction/output/output_writer.h"

#include <unicode/utf16.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <optional>

#include "extraction/output/json_line.h"
#include "extraction/output/output_names.h"
#include "extraction/sys/file_system.h"
#include "extraction/text/charsets.h"
#include "extraction/text/native_names.h"
#include "extraction/text/text.h"

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

OutputWriter::OutputWriter(std::u16string folder, Charset charset,
                           bool separate, std::u16string extension,
                           bool dry_run, OutputForm form)
    : folder_(std::move(folder)),
      format_(form.json_lines ? OutputFormat::kUtf8
                              : form.format.value_or(OutputFormatFor(charset))),
      separate_(separate && !form.json_lines),
      dry_run_(dry_run),
      extension_(form.json_lines ? u"jsonl"
                 : form.text     ? u"txt"
                                 : std::move(extension)),
      text_(form.text),
      json_lines_(form.json_lines) {}

void OutputWriter::NameTextFiles(
    const std::vector<std::u16string_view>& sources) {
  if (text_ && separate_) text_names_.emplace(sources);
}

// A folder of the collected file's name is in the way and fails the run; a
// name that is taken when the file is created (a rival run, a planted link)
// is passed over like one that was seen to exist.
std::optional<fs::OutputFile> OutputWriter::CreateOutputFile() {
  const auto taken = TakenOutputNumbers::OfFiles(folder_, extension_);
  for (std::int64_t n = taken.FirstFree();; n = taken.FirstFree(n + 1)) {
    out_file_ = OutputFileName(folder_, n, extension_);
    const fs::Path path = NativePath(out_file_);
    if (dry_run_) {
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

// A plain file of the output folder's name is in the way and fails the run;
// a folder or link that appeared since the listing is passed over.
void OutputWriter::CreateOutputFolder() {
  const auto taken = TakenOutputNumbers::OfFolders(folder_);
  for (std::int64_t n = taken.FirstFree();; n = taken.FirstFree(n + 1)) {
    out_folder_ = OutputFolderName(folder_, n);
    const fs::Path path = NativePath(out_folder_);
    if (dry_run_ ? !fs::EntryExists(path) : fs::CreateFolder(path)) {
      if (dry_run_) fs::CheckCreatable(path, /*folder=*/true);
      return;
    }
    if (!fs::IsFolderOrLink(path)) {
      fs::Fail("cannot create folder", path, EEXIST);
    }
  }
}

template <typename PieceWriter>
void OutputWriter::Write(std::u16string_view fName,
                         const PieceWriter& write_piece) {
  std::optional<fs::OutputFile> new_file;
  bool first_write = false;
  if (!started_) {
    first_write = true;
    started_ = true;
    if (separate_) {
      CreateOutputFolder();
      made_ = out_folder_;
    } else {
      if (auto file = CreateOutputFile()) new_file.emplace(std::move(*file));
      if (dry_run_) made_ = out_file_;
    }
  }
  if (separate_) {
    out_file_ = out_folder_ + kSeparator + std::u16string(fName);
  }
  if (dry_run_) return;
  if (separate_) new_file.emplace(CreateSeparateFile(fName));

  const bool is_new = new_file.has_value();
  fs::OutputFile file =
      is_new ? std::move(*new_file)
             : fs::OutputFile::OpenForAppend(NativePath(out_file_));
  // The signature goes only at the head of a new file, so that a collected
  // file stays one well-formed UTF-16 text.
  if (is_new) file.Append(Signature(format_));
  write_piece(file, is_new);
  file.Close();
  // A collected file that failed on its first write was removed again.
  if (first_write && !separate_) made_ = out_file_;
}

void OutputWriter::WriteFile(const Piece& piece, std::u16string_view fName,
                             std::u16string_view file_name,
                             const RecordOrigin* record) {
  std::u16string decoded;
  const auto text = [&]() -> std::u16string_view {
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
  };
  if (json_lines_) {
    Write(fName, [&](fs::OutputFile& file, bool) {
      file.Append(JsonLine(fName, text(), record));
    });
    return;
  }
  const std::u16string_view own_name = file_name.empty() ? fName : file_name;
  const std::u16string text_name =
      text_names_ ? text_names_->For(own_name) : std::u16string();
  // Text pieces in one file are set off by a blank line; an empty one
  // adds nothing, so that one blank line stands between any two texts.
  const bool empty = piece.windows1256 ? piece.windows1256->empty()
                     : piece.utf8      ? piece.utf8->empty()
                                       : piece.text.empty();
  const bool set_off = text_ && !separate_ && texts_written_ && !empty;
  if (text_ && !empty) texts_written_ = true;
  Write(text_names_ ? std::u16string_view(text_name) : own_name,
        [&](fs::OutputFile& file, bool) {
          if (set_off) {
            std::string scratch;
            file.Append(EncodedBytes(u"\n\n", format_, scratch));
          }
          if (piece.windows1256 && format_ == OutputFormat::kWindows1256) {
            file.Append(*piece.windows1256);
          } else if (piece.utf8 && format_ == OutputFormat::kUtf8) {
            file.Append(*piece.utf8);
          } else {
            AppendEncoded(file, text(), format_);
          }
        });
}

fs::OutputFile OutputWriter::CreateSeparateFile(std::u16string_view fName) {
  if (!output_folder_) {
    output_folder_ = std::make_unique<fs::Folder>(
        fs::Folder::Open(NativePath(out_folder_), /*to_list=*/false));
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
  if (!created) fs::Fail("cannot create", NativePath(out_file_), EEXIST);
  return std::move(*created);
}

}  // namespace vantrel
