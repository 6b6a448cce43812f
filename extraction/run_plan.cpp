#include "extraction/run_plan.h"

#include <utility>

#include "extraction/base/run_error.h"
#include "extraction/source/source_reading.h"
#include "extraction/source/warc/web_archive.h"
#include "extraction/sys/file_system.h"
#include "extraction/text/native_names.h"
#include "extraction/transform/html_to_text.h"

namespace vantrel {
namespace {

// The source whose signature decides the run's charset: the first, or in a
// run that keeps going past unreadable files, the first that can be read.
// Nothing when none can.
std::optional<std::pair<Charset, const SourceItem*>> DecideCharset(
    const Sources& sources, bool keep_going) {
  SourceOpener opener(sources);
  for (const SourceItem& item : sources.items) {
    try {
      if (!item.web_archive) {
        return std::pair{TestFile(opener, item), &item};
      }
      if (const auto charset = TestFirstPage(opener, item)) {
        return std::pair{*charset, &item};
      }
    } catch (const FileSystemError&) {
      if (!keep_going) throw;
    }
  }
  return std::nullopt;
}

}  // namespace

Sources SelectedSources(const FileSelection& files, bool keep_going) {
  if (const FileList* list = files.file_list()) {
    return ListedSources(list->paths, files.web_archives);
  }
  if (const WebArchive* archive = files.web_archive()) {
    return ListedSources({archive->path}, /*web_archives=*/true);
  }
  return SourcesInOrder(NativePath(files.folder),
                        ExtensionFilter(files.extensions, files.web_archives),
                        {files.recursive, keep_going});
}

std::size_t CountSelected(const FileSelection& files, bool keep_going) {
  if (const FileList* list = files.file_list()) return list->paths.size();
  if (files.web_archive() != nullptr) return 1;
  return CountSources(NativePath(files.folder),
                      ExtensionFilter(files.extensions, files.web_archives),
                      {files.recursive, keep_going});
}

std::optional<std::string> OutFolderProblem(const std::u16string& folder) {
  const fs::Path path = NativePath(folder);
  if (fs::FolderExists(path)) return std::nullopt;
  return fs::EntryExists(path) ? "not a folder" : "no such folder";
}

const PieceTransform& PlainTextTransform() {
  static const HtmlToTextTransform transform;
  return transform;
}

RunPlan PlanRun(const RunInputs& inputs, const RunOptions& options,
                const Sources& sources) {
  RunPlan plan;
  const FileSelection& files = inputs.files;
  if (const auto fixed = files.fixed_charset()) {
    plan.charset = *fixed;
  } else if (!files.charset_per_file()) {
    if (const auto decided = DecideCharset(sources, options.keep_going)) {
      plan.charset = decided->first;
      plan.decided_by = decided->second->Name;
    } else {
      plan.charset = DetectCharset("");
    }
  }
  plan.output_charset = plan.charset.value_or(Charset::kUtf16Le);
  plan.transform = options.transform;
  plan.form = options.output;
  // A transform that gives text makes a pieces output text.
  if (plan.form.kind == OutputKind::kPieces && plan.transform != nullptr &&
      plan.transform->GivesText()) {
    plan.form.kind = OutputKind::kText;
  }
  return plan;
}

}  // namespace vantrel
