#include "extraction/file_selection.h"

#include "extraction/source/warc/web_archive.h"
#include "extraction/sys/file_system.h"
#include "extraction/text/native_names.h"

namespace vantrel {

const std::u16string& FileSelection::first_extension() const {
  static const std::u16string kNone;
  return extensions.empty() ? kNone : extensions.front();
}

std::optional<Charset> FileSelection::fixed_charset() const {
  if (const auto* fixed = std::get_if<Charset>(&charset)) return *fixed;
  return std::nullopt;
}

bool IsWebArchiveFile(const std::u16string& path) {
  return warc::IsWebArchiveName(path) && fs::FileExists(NativePath(path));
}

std::optional<LogKind> CheckSelection(const FileSelection& selection) {
  if (selection.file_list() != nullptr || selection.web_archive() != nullptr) {
    return std::nullopt;
  }
  if (selection.folder.empty()) return LogKind::kNoFolder;
  if (selection.first_extension().empty()) return LogKind::kNoExtension;
  if (!fs::FolderExists(NativePath(selection.folder))) {
    return LogKind::kMissingFolder;
  }
  return std::nullopt;
}

}  // namespace vantrel
