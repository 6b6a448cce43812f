#include "extraction/run.h"

#include <cmath>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "extraction/counter.h"
#include "extraction/cut.h"
#include "extraction/file_system.h"
#include "extraction/marker_search.h"
#include "extraction/messages.h"
#include "extraction/native_names.h"
#include "extraction/output_writer.h"
#include "extraction/read_ahead.h"
#include "extraction/run_error.h"
#include "extraction/source_cut.h"
#include "extraction/source_listing.h"
#include "extraction/source_reading.h"
#include "extraction/text.h"

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
    case FileOutcome::kNoEnd:
    case FileOutcome::kExtracted:
      break;
  }
  return kNoEndPrefix;
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
void ExtractAll(RunWindow& window, const RunInputs& inputs, RunState& state,
                OutputWriter& output, RunResult& result) {
  const fs::Path folder = NativePath(state.SourcePath);
  const ExtensionFilter filter(inputs.extension);

  Counter matching;
  for (std::size_t i = CountSources(folder, filter); i > 0; --i) {
    matching.Increment();
  }
  result.matching = matching.value();

  const ExactMatcher start_marker(inputs.start_marker);
  const ExactMatcher end_marker(inputs.end_marker);
  const std::vector<SourceItem> items = SourcesInOrder(folder, filter);
  if (items.empty()) return;
  // The run's first matching file decides how every file is read.
  const Charset charset = TestFile(items.front().path);
  state.SourceCharset = CharsetName(charset);
  const SourceCutter cutter(charset, start_marker, end_marker,
                            window.WantsFileTexts());
  ReadAhead sources(items, cutter);

  Counter failures, successes;
  int done = 0;
  for (const SourceItem& item : items) {
    CutSource& source = sources.Next();
    if (source.cut.outcome == FileOutcome::kExtracted) {
      WritePiece(source, item.Name, output);
      successes.Increment();
      window.SetLine2X2(ProgressX2(successes.value(), matching.value()));
      window.RedrawLine2();
      window.RedrawText5();
    } else {
      // The count goes up first: the file at which it overflows gets no
      // line.
      failures.Increment();
      WriteLog(window, std::u16string(FailurePrefix(source.cut.outcome)) +
                           DisplayName(item.Name));
    }
    result.failures = failures.value();
    result.successes = successes.value();
    window.FileExamined(
        {item.Name, source.text, source.cut, ++done, matching.value()});
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

int ProgressX2(int successes, int matching) {
  if (matching == 0) throw RunError(std::string(kDivisionByZeroDescription));
  const double n = (successes * 100.0 / matching) * (kBarEnd - kBarStart);
  return kBarStart + static_cast<int>(RoundHalfEven(n)) / 100;
}

RunResult Command2_Click(RunWindow& window, RunState& state) {
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
    } else {
      output.emplace(state, inputs.separate, inputs.extension);
      ExtractAll(window, inputs, state, *output, result);
    }
    window.SetLabel6(
        DecimalText(result.matching) + std::u16string(kSummaryChecked) +
        DecimalText(result.failures) + std::u16string(kSummaryDidntFind));
    window.SetLine2X2(kBarEnd);
    if (output) result.output = output->made();
  } catch (const std::exception& e) {
    result.end = RunResult::End::kErrorTrap;
    if (output) result.output = output->made();
    try {
      WriteLog(window, std::u16string(kUnknownErrorMessage) +
                           std::u16string(kLineEnd) + Describe(e));
    } catch (...) {
      // The log itself failed; the pointer still goes back below.
    }
  }
  return result;
}

}  // namespace vantrel
