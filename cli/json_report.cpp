// vantrel-cli's report as JSON Lines, written with nlohmann::json so that
// every string is escaped as JSON wants it.
#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>

#include "cli/cli_report.h"
#include "extraction/text/charsets.h"
#include "extraction/text/native_names.h"
#include "extraction/text/text.h"

namespace vantrel::cli {
namespace {

using json = nlohmann::ordered_json;

// A name or path in UTF-8. One that is not valid UTF-8 shows U+FFFD for
// each byte that is not, and its exact bytes go beside it, in hex, under
// `field` + "_bytes".
void PutName(json& object, const std::string& field, std::u16string_view name) {
  object[field] = TextToUtf8(name);
  if (auto hex = NameBytesInHex(name)) object[field + "_bytes"] = *hex;
}

std::string_view ResultName(FileOutcome outcome) {
  switch (outcome) {
    case FileOutcome::kExtracted:
      return "extracted";
    case FileOutcome::kCantRead:
      return "cant_read";
    case FileOutcome::kNoStart:
      return "no_start";
    case FileOutcome::kUnreadable:
      return "unreadable";
    case FileOutcome::kNoEnd:
      break;
  }
  return "no_end";
}

std::string_view EndName(RunResult::End end) {
  switch (end) {
    case RunResult::End::kNormal:
      return "completed";
    case RunResult::End::kInputRejected:
      return "input_rejected";
    case RunResult::End::kStopped:
      return "stopped";
    case RunResult::End::kErrorTrap:
      break;
  }
  return "error";
}

// How many characters (code points) `text` holds, an unpaired surrogate
// one each. ICU counts at most INT32_MAX units at once, so a longer text
// goes in slices that keep each surrogate pair whole.
std::size_t Characters(std::u16string_view text) {
  constexpr std::size_t kSlice = std::numeric_limits<int32_t>::max();
  std::size_t count = 0;
  while (!text.empty()) {
    std::size_t n = std::min(kSlice, text.size());
    if (n < text.size() && U16_IS_LEAD(text[n - 1])) --n;
    count += static_cast<std::size_t>(
        u_countChar32(text.data(), static_cast<int32_t>(n)));
    text.remove_prefix(n);
  }
  return count;
}

json Line(std::string_view type) { return json{{"type", type}}; }

}  // namespace

void JsonReport::Report(const FileReport& report) {
  json line = Line("file");
  PutName(line, "file", report.name);
  line["result"] = ResultName(report.cut.outcome);
  if (report.cut.outcome == FileOutcome::kExtracted) {
    line["length"] = Characters(
        report.text.substr(report.cut.piece.begin, report.cut.piece.size()));
    line["line"] = LineAt(report.text, report.cut.piece.begin);
  }
  if (report.cut.outcome == FileOutcome::kUnreadable) {
    line["reason"] = TextToUtf8(report.reason);
  }
  if (report.charset) {
    std::string name = report.charset->name;
    std::ranges::transform(name, name.begin(), [](unsigned char c) {
      return static_cast<char>(std::tolower(c));
    });
    line["charset"] = name;
    line["charset_reason"] = DetectionReasonName(report.charset->reason);
    if (report.charset->reason == DetectionReason::kDetected) {
      line["confidence"] = report.charset->confidence;
      line["low_confidence"] = report.charset->low_confidence;
    }
  }
  if (report.near_miss) {
    const NearMiss& hint = *report.near_miss;
    line["hint"] = {
        {"kind", NearMissKindName(hint.kind)},
        {"marker", hint.end_marker ? "end" : "start"},
        {"line", hint.line > 0 ? json(hint.line) : json(nullptr)},
        {"text", TextToUtf8(hint.text)},
    };
  }
  Write(line.dump() + "\n");
}

void JsonReport::FolderUnreadable(std::u16string_view name,
                                  std::u16string_view reason) {
  json line = Line("folder");
  PutName(line, "folder", name);
  line["result"] = "unreadable";
  line["reason"] = TextToUtf8(reason);
  Write(line.dump() + "\n");
}

void JsonReport::Logged(const LogEntry& entry) {
  if (entry.kind != LogKind::kBadRecord) return;
  json line = Line("record");
  PutName(line, "archive", entry.name);
  line["offset"] = entry.offset;
  line["result"] = "unreadable";
  line["reason"] = TextToUtf8(entry.reason);
  Write(line.dump() + "\n");
}

void JsonReport::Finish(const RunResult& result, bool dry_run) {
  if (result.end == RunResult::End::kInputRejected) {
    json rejected = Line("input_rejected");
    rejected["message"] = TextToUtf8(result.message);
    Write(rejected.dump() + "\n");
  }
  json summary = Line("summary");
  summary["summary"] = result.end == RunResult::End::kErrorTrap
                           ? json(nullptr)
                           : json(TextToUtf8(result.summary));
  summary["checked"] = result.matching;
  summary["failed"] = result.failures;
  summary["extracted"] = result.successes;
  summary["charset"] =
      result.charset ? json(std::string(CharsetOptionName(*result.charset)))
                     : json(nullptr);
  if (result.output_format) {
    summary["out_charset"] =
        std::string(OutputFormatName(*result.output_format));
  }
  if (result.output) {
    PutName(summary, "output", *result.output);
  } else {
    summary["output"] = nullptr;
  }
  summary["dry_run"] = dry_run;
  summary["end"] = EndName(result.end);
  summary["error"] = result.end == RunResult::End::kErrorTrap
                         ? json(TextToUtf8(result.message))
                         : json(nullptr);
  Write(summary.dump() + "\n");
}

}  // namespace vantrel::cli
