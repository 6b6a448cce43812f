#include "extraction/run.h"

#include <algorithm>
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
#include "extraction/output/output_writer.h"
#include "extraction/run_plan.h"
#include "extraction/separate_names.h"
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

// The run's loop over its sources once planned: each source's piece
// written, or its failure logged, and the counts kept.
class SourceLoop {
 public:
  SourceLoop(RunSink& sink, const RunOptions& options, OutputWriter& output,
             SeparateNames& separate_names, const NearMissRun& near_miss,
             RunResult& result)
      : sink_(sink),
        options_(options),
        output_(output),
        separate_names_(separate_names),
        near_misses_(near_miss),
        result_(result) {}

  // A source read and cut: the file at `index` of the sources, or the page
  // `page` of a web archive, which is counted as it comes.
  void Examine(SourcePiece& source, const SourceItem& item, std::size_t index,
               const ArchiveEntry* page) {
    if (page != nullptr) ++result_.matching;
    const std::u16string page_name =
        page != nullptr ? NativeToText(page->uri) : std::u16string();
    const std::u16string_view name = page != nullptr
                                         ? std::u16string_view(page_name)
                                         : std::u16string_view(item.Name);
    FileReport report{name, source.text, source.cut, 0, result_.matching,
                      {},   {}};
    if (source.decision) report.charset = &*source.decision;
    if (source.cut.outcome == FileOutcome::kExtracted) {
      if (page != nullptr) {
        const RecordOrigin record{page->record_id, page->date};
        output_.WriteFile(source.TakePiece(), name,
                          separate_names_.OfPage(page->uri), &record);
      } else {
        output_.WriteFile(source.TakePiece(), name,
                          separate_names_.OfFile(index));
      }
      ++successes_;
      // A file that appeared after the count gives a share of nothing.
      if (result_.matching == 0) {
        throw RunError(std::string(kDivisionByZeroDescription));
      }
      sink_.PieceWritten(successes_, result_.matching);
    } else {
      ++failures_;
      WriteLog(sink_,
               LogEntry(FailureKind(source.cut.outcome), DisplayName(name)));
      if (options_.near_misses) {
        report.near_miss =
            near_misses_.Find(source.bytes, source.text, source.cut);
      }
    }
    result_.failures = failures_;
    result_.successes = successes_;
    report.done = ++done_;
    sink_.FileExamined(report);
  }

  // A file or sub-folder that could not be read, in a run that keeps going
  // past it, for `reason`.
  void Unreadable(const SourceItem& item, std::u16string_view reason) {
    ++result_.unreadable;
    const LogEntry entry =
        LogEntry::Unreadable(DisplayName(item.Name), item.unlisted_error != 0,
                             std::u16string(reason));
    if (item.unlisted_error != 0) {
      WriteLog(sink_, entry);
      sink_.FolderUnreadable(item.Name, reason);
      return;
    }
    // An archive that cannot be read counts as a file that cannot.
    if (item.web_archive) ++result_.matching;
    // Counted first, as any failure is.
    ++failures_;
    WriteLog(sink_, entry);
    result_.failures = failures_;
    CutResult unread;
    unread.outcome = FileOutcome::kUnreadable;
    FileReport report{item.Name,        {}, unread, ++done_,
                      result_.matching, {}, reason};
    sink_.FileExamined(report);
  }

 private:
  RunSink& sink_;
  const RunOptions& options_;
  OutputWriter& output_;
  SeparateNames& separate_names_;
  NearMissFinder near_misses_;
  RunResult& result_;
  std::int64_t failures_ = 0, successes_ = 0, done_ = 0;
};

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
  result.matching -=
      std::count_if(items.begin(), items.end(),
                    [](const SourceItem& item) { return item.web_archive; });
  const std::u16string& extension =
      files.web_archives && warc::IsWebArchiveName(files.first_extension())
          ? kPageExtension
          : files.first_extension();
  output.emplace(options.out_folder.empty() ? files.folder : options.out_folder,
                 plan.output_charset, inputs.separate, extension,
                 options.dry_run, plan.form);
  if (output->format_chosen()) result.output_format = output->format();
  SeparateNames separate_names(files, sources, inputs.separate, plan.form.kind);
  if (output->NamesFromAllSources()) {
    output->NameSeparateFiles(separate_names.OfAllSources());
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
  SourceLoop loop(sink, options, *output, separate_names, near_miss, result);
  // The pieces are transformed as they are read ahead.
  ReadAhead reader(sources, cutter, options.keep_going, transform);

  for (std::size_t index = 0; index < items.size(); ++index) {
    const SourceItem& item = items[index];
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
        loop.Unreadable(item, Utf8ToText(std::strerror(e.error_number())));
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
      const bool page = entry.kind == ArchiveEntry::Kind::kPage;
      loop.Examine(*read, item, index, page ? &entry : nullptr);
      if (!item.web_archive) break;
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
