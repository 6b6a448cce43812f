#include "extraction/run.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "extraction/base/run_error.h"
#include "extraction/explain/near_miss.h"
#include "extraction/failure.h"
#include "extraction/log_entry.h"
#include "extraction/match/cut.h"
#include "extraction/match/matchers.h"
#include "extraction/match/regex_matcher.h"
#include "extraction/messages.h"
#include "extraction/output/output_names.h"
#include "extraction/output/output_writer.h"
#include "extraction/output/page_names.h"
#include "extraction/run_plan.h"
#include "extraction/source/read_ahead.h"
#include "extraction/source/source_cut.h"
#include "extraction/source/source_listing.h"
#include "extraction/source/warc/web_archive.h"
#include "extraction/sys/file_system.h"
#include "extraction/text/native_names.h"
#include "extraction/text/text.h"

namespace vantrel {
namespace {

// The extension of the collected file of a run over web archives.
const std::u16string kPageExtension = u"htm";

// Tells the sink of a log entry.
void WriteLog(RunSink& sink, const LogEntry& entry) { sink.Logged(entry); }

// The log entry of a file that gave no piece.
LogKind FailureKind(FileOutcome outcome) {
  switch (outcome) {
    case FileOutcome::kCantRead:
      return LogKind::kCantRead;
    case FileOutcome::kNoStart:
      return LogKind::kNoStart;
    case FileOutcome::kUnreadable:
      return LogKind::kCantOpen;
    case FileOutcome::kNoEnd:
    case FileOutcome::kExtracted:
      break;
  }
  return LogKind::kNoEnd;
}

// The next source, read and cut. A pattern that runs away on it ends the
// run, naming the file.
SourcePiece& NextSource(ReadAhead& reader, const Sources& sources,
                        const SourceItem& item) {
  try {
    return reader.Next();
  } catch (const PatternTimeout& e) {
    throw RunError(std::string(e.what()) + " on " +
                   TextToUtf8(DisplayName(PathText(sources.PathOf(item)))));
  }
}

// Logs a file or sub-folder that could not be read, in a run that keeps
// going past it.
void LogUnreadable(RunSink& sink, const SourceItem& item,
                   std::u16string_view reason) {
  WriteLog(sink, LogEntry::Unreadable(DisplayName(item.Name),
                                      item.unlisted_error != 0,
                                      std::u16string(reason)));
}

// Both passes over the folder, the run planned between them; fills the
// counts and the charset of `result`, and makes `output` once the charset is
// known.
void ExtractAll(RunSink& sink, const RunInputs& inputs,
                const RunOptions& options, std::optional<OutputWriter>& output,
                RunResult& result) {
  const FileSelection& files = inputs.files;
  result.matching =
      static_cast<std::int64_t>(CountSelected(files, options.keep_going));

  const Sources sources = SelectedSources(files, options.keep_going);
  const std::vector<SourceItem>& items = sources.items;
  if (items.empty()) return;
  const RunPlan plan = PlanRun(inputs, options, sources);
  result.charset = plan.charset;
  // Web archives count their pages as they are read; their collected
  // file is named as pages are (ExportN.htm), not as the archives.
  std::int64_t archives = 0;
  for (const SourceItem& item : items) {
    archives += warc::IsWebArchiveName(item.Name) ? 1 : 0;
  }
  result.matching -= archives;
  const std::u16string& extension =
      warc::IsWebArchiveName(files.first_extension()) ? kPageExtension
                                                      : files.first_extension();
  output.emplace(options.out_folder.empty() ? files.folder : options.out_folder,
                 plan.output_charset, inputs.separate, extension,
                 options.dry_run, plan.form);
  std::optional<PageNames> page_names;
  if (archives > 0 && inputs.separate) {
    page_names.emplace(plan.form.kind == OutputKind::kText ? "txt" : "");
  }
  if (output->format_chosen()) result.output_format = output->format();
  // Listed files share no folder: each separate file is named by the last
  // part of its path, numbered where two want one name.
  std::optional<ListedFileNames> listed_names;
  if (files.file_list() != nullptr && inputs.separate) {
    std::vector<std::u16string_view> paths;
    for (const SourceItem& item : items) paths.push_back(item.Name);
    listed_names.emplace(paths);
  }
  if (output->NamesFromAllSources()) {
    std::vector<std::u16string_view> names;
    for (std::size_t i = 0; i < items.size(); ++i) {
      names.push_back(listed_names ? std::u16string_view(listed_names->At(i))
                                   : std::u16string_view(items[i].Name));
    }
    output->NameSeparateFiles(names);
  }
  const auto start_marker =
      MakeMatcher(inputs.start_marker, options.matching, "start");
  const auto end_marker =
      MakeMatcher(inputs.end_marker, options.matching, "end");
  // A run that reads each file in its own charset decodes every piece.
  const PieceTransform* transform = plan.transform;
  const SourceCutter cutter =
      plan.charset
          ? SourceCutter(*plan.charset, *start_marker, *end_marker,
                         sink.WantsFileTexts(),
                         transform != nullptr && transform->NeedsText(),
                         transform != nullptr && transform->TakesUtf8())
          : SourceCutter::Detecting(*start_marker, *end_marker,
                                    sink.WantsFileTexts());
  const NearMissRun near_miss{inputs.start_marker, inputs.end_marker,
                              options.matching,    plan.output_charset,
                              plan.decided_by,     !plan.charset};
  NearMissFinder near_misses(near_miss);
  // The pieces are transformed as they are read ahead.
  ReadAhead reader(sources, cutter, options.keep_going, transform);

  std::int64_t failures = 0, successes = 0, done = 0;
  for (std::size_t index = 0; index < items.size(); ++index) {
    const SourceItem& item = items[index];
    const bool archive = warc::IsWebArchiveName(item.Name);
    // A file is read once; an archive gives its pages until its end.
    for (;;) {
      if (sink.StopRequested()) {
        WriteLog(sink, LogEntry(LogKind::kStopped));
        result.end = RunResult::End::kStopped;
        return;
      }
      SourcePiece* read = nullptr;
      try {
        read = &NextSource(reader, sources, item);
      } catch (const FileSystemError& e) {
        if (!options.keep_going) throw;
        const std::u16string reason =
            Utf8ToText(std::strerror(e.error_number()));
        ++result.unreadable;
        if (item.unlisted_error != 0) {
          LogUnreadable(sink, item, reason);
          sink.FolderUnreadable(item.Name, reason);
          break;
        }
        // An archive that cannot be read counts as a file that cannot.
        if (archive) ++result.matching;
        // Counted first, as any failure is.
        ++failures;
        LogUnreadable(sink, item, reason);
        result.failures = failures;
        CutResult unread;
        unread.outcome = FileOutcome::kUnreadable;
        FileReport report{item.Name,       {}, unread, ++done,
                          result.matching, {}, reason};
        sink.FileExamined(report);
        break;
      }
      const ArchiveEntry& entry = reader.entry();
      if (entry.kind == ArchiveEntry::Kind::kEnd) break;
      if (entry.kind == ArchiveEntry::Kind::kProblem) {
        ++result.unreadable;
        WriteLog(sink, LogEntry::BadRecord(DisplayName(item.Name), entry.offset,
                                           Utf8ToText(entry.reason)));
        continue;
      }
      // A page is named by its URI, and counted as it comes.
      const bool page = entry.kind == ArchiveEntry::Kind::kPage;
      const std::u16string page_name =
          page ? NativeToText(entry.uri) : std::u16string();
      const std::u16string_view name = page ? page_name : item.Name;
      if (page) ++result.matching;
      SourcePiece& source = *read;
      FileReport report{name, source.text, source.cut, 0, result.matching,
                        {},   {}};
      if (source.decision) report.charset = &*source.decision;
      if (source.cut.outcome == FileOutcome::kExtracted) {
        const RecordOrigin record{entry.record_id, entry.date};
        const std::u16string separate_name =
            page && page_names ? NativeToText(page_names->For(entry.uri))
            : listed_names     ? listed_names->At(index)
                               : std::u16string();
        output->WriteFile(source.TakePiece(), name, separate_name,
                          page ? &record : nullptr);
        ++successes;
        // A file that appeared after the count gives a share of nothing.
        if (result.matching == 0) {
          throw RunError(std::string(kDivisionByZeroDescription));
        }
        sink.PieceWritten(successes, result.matching);
      } else {
        ++failures;
        WriteLog(sink,
                 LogEntry(FailureKind(source.cut.outcome), DisplayName(name)));
        if (options.near_misses) {
          report.near_miss =
              near_misses.Find(source.bytes, source.text, source.cut);
        }
      }
      result.failures = failures;
      result.successes = successes;
      report.done = ++done;
      sink.FileExamined(report);
      if (!archive) break;
    }
  }
}

}  // namespace

RunResult RunExtraction(const RunInputs& inputs, const RunOptions& options,
                        RunSink& sink) {
  RunResult result;
  result.state.SourcePath = inputs.files.folder;
  std::optional<OutputWriter> output;
  try {
    sink.Started();
    if (const auto rejected = CheckSelection(inputs.files)) {
      const LogEntry entry(*rejected);
      WriteLog(sink, entry);
      result.end = RunResult::End::kInputRejected;
      result.message = LogLine(entry);
    } else {
      ExtractAll(sink, inputs, options, output, result);
    }
    result.checked = result.end == RunResult::End::kStopped
                         ? result.successes + result.failures
                         : result.matching;
    result.summary =
        DecimalText(result.checked) + std::u16string(kSummaryChecked) +
        DecimalText(result.failures) + std::u16string(kSummaryDidntFind);
  } catch (const std::exception& e) {
    result.end = RunResult::End::kErrorTrap;
    result.message = DescribeFailure(e);
    try {
      WriteLog(sink, LogEntry(LogKind::kUnknownError));
      WriteLog(sink, LogEntry::Failure(result.message));
    } catch (...) {
      // The log itself failed; the run still finishes below.
    }
  }
  if (result.charset) {
    result.state.SourceCharset = CharsetName(*result.charset);
  }
  if (output) {
    result.output = output->made();
    if (output->started()) {
      result.state.OutCharset =
          CharsetName(result.charset.value_or(Charset::kUtf16Le));
    }
    result.state.OutFile = output->out_file();
    result.state.OutFolder = output->out_folder();
  }
  sink.Finished(result);
  return result;
}

}  // namespace vantrel
