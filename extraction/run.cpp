#include "extraction/run.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "extraction/analysis/near_miss.h"
#include "extraction/base/run_error.h"
#include "extraction/match/cut.h"
#include "extraction/match/matchers.h"
#include "extraction/match/regex_matcher.h"
#include "extraction/messages.h"
#include "extraction/output/output_writer.h"
#include "extraction/source/read_ahead.h"
#include "extraction/source/source_cut.h"
#include "extraction/source/source_listing.h"
#include "extraction/source/source_reading.h"
#include "extraction/sys/file_system.h"
#include "extraction/text/native_names.h"
#include "extraction/text/text.h"

namespace vantrel {
namespace {

// The bar's ends in twips; its full length is kBarEnd - kBarStart.
constexpr int kBarStart = 130;
constexpr int kBarEnd = 3400;

// The busy pointer for as long as the run works, on every path out.
class BusyPointer {
 public:
  explicit BusyPointer(RunWindow& window) : window_(window) {
    window_.SetBusyPointer(true);
  }
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;
  ~BusyPointer() { window_.SetBusyPointer(false); }

 private:
  RunWindow& window_;
};

// The message of the first input check that fails, if any.
std::optional<std::u16string_view> CheckInputs(const RunInputs& inputs) {
  if (inputs.folder.empty()) return kNoFolderMessage;
  if (inputs.extension.empty()) return kNoExtensionMessage;
  if (!fs::FolderExists(NativePath(inputs.folder))) {
    return kMissingFolderMessage;
  }
  return std::nullopt;
}

// The log line of a file that gave no piece.
std::u16string_view FailurePrefix(FileOutcome outcome) {
  switch (outcome) {
    case FileOutcome::kCantRead:
      return kCantReadPrefix;
    case FileOutcome::kNoStart:
      return kNoStartPrefix;
    case FileOutcome::kUnreadable:
      return kCantOpenPrefix;
    case FileOutcome::kNoEnd:
    case FileOutcome::kExtracted:
      break;
  }
  return kNoEndPrefix;
}

// The next source, read and cut. A pattern that runs away on it ends the
// run, naming the file.
CutSource& NextSource(ReadAhead& reader, const Sources& sources,
                      const SourceItem& item) {
  try {
    return reader.Next();
  } catch (const PatternTimeout& e) {
    throw RunError(std::string(e.what()) + " on " +
                   TextToUtf8(DisplayName(PathText(sources.PathOf(item)))));
  }
}

// The source whose signature decides the run's charset: the first, or in a
// run that keeps going past unreadable files, the first that can be read.
// Nothing when none can.
std::optional<std::pair<Charset, const SourceItem*>> DecideCharset(
    const Sources& sources, bool keep_going) {
  SourceOpener opener(sources.root);
  for (const SourceItem& item : sources.items) {
    try {
      return std::pair{TestFile(opener, item), &item};
    } catch (const FileSystemError&) {
      if (!keep_going) throw;
    }
  }
  return std::nullopt;
}

// Logs a file or sub-folder that could not be read, in a run that keeps
// going past it.
void LogUnreadable(RunWindow& window, const SourceItem& item,
                   std::u16string_view reason) {
  std::u16string line(kCantOpenPrefix);
  line += DisplayName(item.Name);
  if (item.unlisted_error != 0) line += kFolderSuffix;
  line += kReasonSeparator;
  line += reason;
  WriteLog(window, line);
}

// Hands the piece of `source` to the output, finishing its decoding here.
void WritePiece(CutSource& source, std::u16string_view name,
                OutputWriter& output) {
  if (source.piece_bytes) {
    output.WriteBytes(*source.piece_bytes, name);
    return;
  }
  source.FinishPiece();
  output.WriteFile(source.piece, name);
}

// Both passes over the folder; fills the counts of `result`.
void ExtractAll(RunWindow& window, const RunInputs& inputs,
                const RunOptions& options, RunState& state,
                OutputWriter& output, RunResult& result) {
  const fs::Path folder = NativePath(state.SourcePath);
  std::vector<std::u16string> extensions = {inputs.extension};
  extensions.insert(extensions.end(), options.more_extensions.begin(),
                    options.more_extensions.end());
  const ExtensionFilter filter(extensions);

  const ListingOptions listing{options.recursive, options.keep_going};
  result.matching =
      static_cast<std::int64_t>(CountSources(folder, filter, listing));

  const Sources sources = SourcesInOrder(folder, filter, listing);
  const std::vector<SourceItem>& items = sources.items;
  if (items.empty()) return;
  // The run's first matching file decides how every file is read, unless
  // the charset was chosen for the run. When no file can be read, the
  // charset is the one of a file without a signature.
  std::u16string_view decided_by;
  if (options.charset) {
    result.charset = *options.charset;
  } else if (const auto decided = DecideCharset(sources, options.keep_going)) {
    result.charset = decided->first;
    // The file that decided, viewed where its name lies (a conditional
    // between a literal and the name would view a copy).
    decided_by = decided->second->Name;
  } else {
    result.charset = DetectCharset("");
  }
  state.SourceCharset = CharsetName(*result.charset);
  const auto start_marker =
      MakeMatcher(inputs.start_marker, options.matching, "start");
  const auto end_marker =
      MakeMatcher(inputs.end_marker, options.matching, "end");
  const SourceCutter cutter(*result.charset, *start_marker, *end_marker,
                            window.WantsFileTexts());
  const NearMissRun near_miss{inputs.start_marker, inputs.end_marker,
                              options.matching, *result.charset, decided_by};
  NearMissFinder near_misses(near_miss);
  ReadAhead reader(sources, cutter, options.keep_going);

  std::int64_t failures = 0, successes = 0, done = 0;
  for (const SourceItem& item : items) {
    CutSource* read = nullptr;
    try {
      read = &NextSource(reader, sources, item);
    } catch (const FileSystemError& e) {
      if (!options.keep_going) throw;
      const std::u16string reason = Utf8ToText(std::strerror(e.error_number()));
      ++result.unreadable;
      if (item.unlisted_error != 0) {
        LogUnreadable(window, item, reason);
        window.FolderUnreadable(item.Name, reason);
        continue;
      }
      // Counted first, as any failure is.
      ++failures;
      LogUnreadable(window, item, reason);
      result.failures = failures;
      Cut unread;
      unread.outcome = FileOutcome::kUnreadable;
      FileReport report{item.Name,       {}, unread, ++done,
                        result.matching, {}, reason};
      window.FileExamined(report);
      continue;
    }
    CutSource& source = *read;
    FileReport report{item.Name,       source.text, source.cut, 0,
                      result.matching, {},          {}};
    if (source.cut.outcome == FileOutcome::kExtracted) {
      WritePiece(source, item.Name, output);
      ++successes;
      window.SetLine2X2(ProgressX2(successes, result.matching));
      window.RedrawLine2();
      window.RedrawText5();
    } else {
      ++failures;
      WriteLog(window, std::u16string(FailurePrefix(source.cut.outcome)) +
                           DisplayName(item.Name));
      if (options.hints) {
        report.hint = near_misses.Find(source.bytes, source.text, source.cut);
      }
    }
    result.failures = failures;
    result.successes = successes;
    report.done = ++done;
    window.FileExamined(report);
  }
}

std::u16string Describe(const std::exception& e) {
  if (dynamic_cast<const std::bad_alloc*>(&e) != nullptr) {
    return Utf8ToText(kOutOfMemoryDescription);
  }
  return Utf8ToText(e.what());
}

// round() with halves going to the even neighbour, whatever the floating
// point rounding mode is.
double RoundHalfEven(double x) {
  const double floor = std::floor(x);
  const double fraction = x - floor;
  if (fraction > 0.5) return floor + 1;
  if (fraction < 0.5) return floor;
  return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

}  // namespace

void WriteLog(RunWindow& window, std::u16string_view message) {
  std::u16string line;
  line.reserve(message.size() + kLineEnd.size());
  line.append(message).append(kLineEnd);
  window.AppendText5(line);
}

int ProgressX2(std::int64_t successes, std::int64_t matching) {
  if (matching == 0) throw RunError(std::string(kDivisionByZeroDescription));
  // In floating point, so that no count is too large; the share is at most
  // 100 percent, so the product is at most 327,000.
  const double n =
      (static_cast<double>(successes) * 100.0 / static_cast<double>(matching)) *
      (kBarEnd - kBarStart);
  return kBarStart + static_cast<int>(RoundHalfEven(n)) / 100;
}

RunResult Command2_Click(RunWindow& window, RunState& state,
                         const RunOptions& options) {
  RunResult result;
  std::optional<BusyPointer> busy;
  std::optional<OutputWriter> output;
  try {
    window.SetLine2X2(kBarStart);
    window.SetLabel6(u"");
    window.ClearText5();
    state.SourceCharset.clear();
    state.OutCharset.clear();
    busy.emplace(window);
    const RunInputs inputs = window.Inputs();
    state.SourcePath = inputs.folder;

    if (const auto message = CheckInputs(inputs)) {
      WriteLog(window, *message);
      result.end = RunResult::End::kInputRejected;
      result.message = *message;
    } else {
      output.emplace(state, inputs.separate, inputs.extension, options.dry_run);
      ExtractAll(window, inputs, options, state, *output, result);
    }
    window.SetLabel6(
        DecimalText(result.matching) + std::u16string(kSummaryChecked) +
        DecimalText(result.failures) + std::u16string(kSummaryDidntFind));
    window.SetLine2X2(kBarEnd);
    if (output) result.output = output->made();
  } catch (const std::exception& e) {
    result.end = RunResult::End::kErrorTrap;
    if (output) result.output = output->made();
    result.message = Describe(e);
    try {
      WriteLog(window, std::u16string(kUnknownErrorMessage) +
                           std::u16string(kLineEnd) + result.message);
    } catch (...) {
      // The log itself failed; the pointer still goes back below.
    }
  }
  return result;
}

}  // namespace vantrel
