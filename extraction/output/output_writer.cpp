#include "extraction/output/output_writer.h"

#include <cerrno>
#include <cstdint>
#include <optional>
#include <utility>

#include "extraction/output/output_names.h"
#include "extraction/sys/file_system.h"
#include "extraction/text/native_names.h"
#include "extraction/text/text.h"

namespace vantrel {

OutputWriter::OutputWriter(std::u16string folder, Charset charset,
                           bool separate, std::u16string extension,
                           bool dry_run, OutputForm form)
    : folder_(std::move(folder)),
      content_(MakeOutputContent(form, charset, std::move(extension))),
      separate_(separate && content_->Separable()),
      dry_run_(dry_run) {}

void OutputWriter::NameSeparateFiles(
    const std::vector<std::u16string_view>& sources) {
  if (NamesFromAllSources()) content_->NameSeparateFiles(sources);
}

// A folder of the collected file's name is in the way and fails the run; a
// name that is taken when the file is created (a rival run, a planted link)
// is passed over like one that was seen to exist.
std::optional<fs::OutputFile> OutputWriter::CreateOutputFile() {
  const auto taken =
      TakenOutputNumbers::OfFiles(folder_, content_->extension());
  for (std::int64_t n = taken.FirstFree();; n = taken.FirstFree(n + 1)) {
    out_file_ = OutputFileName(folder_, n, content_->extension());
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

void OutputWriter::WriteFile(const Piece& piece, std::u16string_view fName,
                             std::u16string_view file_name,
                             const RecordOrigin* record) {
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
  std::u16string separate_name;
  if (separate_) {
    separate_name =
        content_->SeparateName(file_name.empty() ? fName : file_name);
    out_file_ = out_folder_ + kSeparator + separate_name;
  }
  if (dry_run_) return;
  if (separate_) new_file.emplace(CreateSeparateFile(separate_name));

  const bool is_new = new_file.has_value();
  fs::OutputFile file =
      is_new ? std::move(*new_file)
             : fs::OutputFile::OpenForAppend(NativePath(out_file_));
  // The signature goes only at the head of a new file, so that a collected
  // file stays one well-formed UTF-16 text.
  if (is_new) file.Append(Signature(content_->format()));
  content_->Append(file, is_new, OutputEntry{piece, fName, record});
  file.Close();
  // A collected file that failed on its first write was removed again.
  if (first_write && !separate_) made_ = out_file_;
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
