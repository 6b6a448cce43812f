#include "extraction/run.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "extraction/counter.h"
#include "extraction/file_system.h"
#include "extraction/marker_search.h"
#include "extraction/messages.h"
#include "extraction/native_names.h"
#include "extraction/output_writer.h"
#include "extraction/run_error.h"
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

// A matching file of the scanned folder.
struct SourceItem {
  fs::Path path;        // full path, for reading
  std::u16string Name;  // name with extension, for the log and the output
};

// The text behind the last dot of a name, or nothing when it has none.
std::u16string_view ExtensionOf(std::u16string_view name) {
  const std::size_t dot = name.rfind(u'.');
  return dot == std::u16string_view::npos ? std::u16string_view()
                                          : name.substr(dot + 1);
}

// Whether a name has the window's extension, letter case ignored. The
// extension field is read for each name; its lower-cased form is kept while
// the field stays the same.
class ExtensionTest {
 public:
  explicit ExtensionTest(const RunWindow& window) : window_(window) {}

  bool operator()(std::u16string_view name) {
    std::u16string wanted = window_.Text4();
    if (!lowered_ || wanted != wanted_) {
      lowered_ = LowerCase(wanted);
      wanted_ = std::move(wanted);
    }
    return LowerCase(ExtensionOf(name)) == *lowered_;
  }

 private:
  const RunWindow& window_;
  std::u16string wanted_;
  std::optional<std::u16string> lowered_;
};

// The names of the folder's regular files that have the window's extension,
// in the file system's order. The listing is complete before any file is
// looked at, so a run never meets its own output among its sources.
std::vector<std::string> MatchingNames(const fs::Path& folder,
                                       const RunWindow& window) {
  ExtensionTest matches(window);
  return fs::ListFiles(folder, [&](std::string_view name) {
    return matches(NativeToText(name));
  });
}

// The matching files in name order: letter case ignored, ties broken by the
// exact name, so that results never depend on the order of the listing.
std::vector<SourceItem> MatchingFilesInOrder(const fs::Path& folder,
                                             const RunWindow& window) {
  struct Keyed {
    std::u16string folded;
    std::string name;
  };
  std::vector<Keyed> keyed;
  for (std::string& name : MatchingNames(folder, window)) {
    keyed.push_back({FoldCase(NativeToText(name)), std::move(name)});
  }
  std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
    return a.folded != b.folded ? a.folded < b.folded : a.name < b.name;
  });

  std::vector<SourceItem> items;
  items.reserve(keyed.size());
  for (const Keyed& k : keyed) {
    items.push_back({folder / k.name, NativeToText(k.name)});
  }
  return items;
}

// The message of the first input check that fails, if any.
std::optional<std::u16string_view> CheckInputs(const RunWindow& window,
                                               const RunState& state) {
  if (state.SourcePath.empty()) return kNoFolderMessage;
  if (window.Text4().empty()) return kNoExtensionMessage;
  if (!fs::FolderExists(NativePath(state.SourcePath))) {
    return kMissingFolderMessage;
  }
  return std::nullopt;
}

void LogFailure(RunWindow& window, Counter& failures,
                std::u16string_view prefix, const SourceItem& item) {
  // The count goes up first: the file at which it overflows gets no line.
  failures.Increment();
  WriteLog(window, std::u16string(prefix) + DisplayName(item.Name));
}

// Both passes over the folder; fills the counts of `result`.
void ExtractAll(RunWindow& window, RunState& state, OutputWriter& output,
                RunResult& result) {
  const fs::Path folder = NativePath(state.SourcePath);

  Counter matching;
  for (std::size_t i = MatchingNames(folder, window).size(); i > 0; --i) {
    matching.Increment();
  }
  result.matching = matching.value();

  Counter failures, successes;
  int done = 0;
  SourceReader reader;
  for (const SourceItem& item : MatchingFilesInOrder(folder, window)) {
    if (state.SourceCharset.empty()) state.SourceCharset = TestFile(item.path);
    const std::u16string_view whole =
        reader.Read(item.path, state.SourceCharset);
    const std::u16string start_marker = window.Text1();
    const std::u16string end_marker = window.Text2();
    std::size_t start = 0, end = 0;
    if (whole.empty()) {
      LogFailure(window, failures, kCantReadPrefix, item);
    } else if ((start = FindMarker(whole, start_marker)) == 0) {
      LogFailure(window, failures, kNoStartPrefix, item);
    } else {
      const std::u16string_view rest =
          whole.substr(start - 1 + start_marker.size());
      if ((end = FindMarker(rest, end_marker)) == 0) {
        LogFailure(window, failures, kNoEndPrefix, item);
      } else {
        output.WriteFile(rest.substr(0, end - 1), item.Name);
        successes.Increment();
        window.SetLine2X2(ProgressX2(successes.value(), matching.value()));
        window.RedrawLine2();
        window.RedrawText5();
      }
    }
    result.failures = failures.value();
    result.successes = successes.value();
    window.FileDone(++done, matching.value());
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
    state.SourcePath = window.Text3();

    if (const auto message = CheckInputs(window, state)) {
      WriteLog(window, *message);
      result.end = RunResult::End::kInputRejected;
    } else {
      output.emplace(state, window.Check1(), window.Text4());
      ExtractAll(window, state, *output, result);
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
