#include "extraction/suggest/suggestion.h"

#include "extraction/failure.h"
#include "extraction/log_entry.h"
#include "extraction/suggest/marker_suggestion.h"
#include "extraction/suggest/page_reading.h"
#include "extraction/suggest/suggestion_messages.h"
#include "extraction/text/text.h"

namespace vantrel {
namespace {

std::u16string NoSuggestionMessage(NoSuggestion why, std::int64_t files) {
  switch (why) {
    case NoSuggestion::kTooFewFiles:
      if (files == 0) return std::u16string(kNoFilesMessage);
      return std::u16string(kTooFewFilesPrefix) + DecimalText(files) +
             std::u16string(files == 1 ? kTooFewFilesOne : kTooFewFilesMany) +
             std::u16string(kTooFewFilesSuffix);
    case NoSuggestion::kAllAlike:
      return std::u16string(kAllAlikeMessage);
    case NoSuggestion::kTextNotFound:
      return std::u16string(kTextNotFoundMessage);
    case NoSuggestion::kStopped:
      return LogLine(LogEntry(LogKind::kStopped));
    case NoSuggestion::kNoSharedTemplate:
      return std::u16string(kNoSharedTemplateMessage);
    case NoSuggestion::kNoMarkers:
    case NoSuggestion::kNone:
    case NoSuggestion::kInputMissing:
    case NoSuggestion::kFailed:
      break;
  }
  return std::u16string(kNoMarkersMessage);
}

NoSuggestion WhyNone(FoundPairs::Lack lack) {
  switch (lack) {
    case FoundPairs::Lack::kNone:
      return NoSuggestion::kNone;
    case FoundPairs::Lack::kTooFewFiles:
      return NoSuggestion::kTooFewFiles;
    case FoundPairs::Lack::kAllAlike:
      return NoSuggestion::kAllAlike;
    case FoundPairs::Lack::kTextNotFound:
      return NoSuggestion::kTextNotFound;
    case FoundPairs::Lack::kNoSharedTemplate:
      return NoSuggestion::kNoSharedTemplate;
    case FoundPairs::Lack::kNoMarkers:
      break;
  }
  return NoSuggestion::kNoMarkers;
}

// The suggestion itself; a failure to read is thrown from below.
SuggestionResult Suggest(const SuggestionRequest& request) {
  SuggestionResult result;
  // The run's own input checks, with its messages.
  if (const auto rejected = CheckSelection(request.files)) {
    result.why = NoSuggestion::kInputMissing;
    result.message = LogLine(LogEntry(*rejected));
    return result;
  }
  FoundPairs found;
  try {
    PageReader reader(request.files, request.stop_requested);
    found = FindMarkerPairs(reader, request.around);
  } catch (const SuggestionStopped&) {
    result.why = NoSuggestion::kStopped;
    result.message = NoSuggestionMessage(result.why, 0);
    return result;
  }
  result.files = found.files;
  result.other_template = found.other_template;
  result.why = WhyNone(found.lack);
  for (const auto& [pair, outcome] : found.pairs) {
    result.suggestions.push_back({pair.start, pair.end, pair.regex,
                                  outcome.pieces, outcome.median_length,
                                  outcome.preview, pair.basis});
  }
  if (result.suggestions.empty()) {
    if (result.why == NoSuggestion::kNone)
      result.why = NoSuggestion::kNoMarkers;
    result.message = NoSuggestionMessage(result.why, result.files);
    return result;
  }
  result.message = std::u16string(kSuggestedPiecesPrefix) +
                   DecimalText(result.suggestions.front().pieces) +
                   std::u16string(kSuggestedPiecesOf) +
                   DecimalText(result.files) +
                   std::u16string(kSuggestedPiecesSuffix);
  if (result.other_template > 0) {
    result.message += u" " + DecimalText(result.other_template) +
                      std::u16string(kOtherTemplateSuffix);
  }
  return result;
}

}  // namespace

SuggestionResult SuggestMarkers(const SuggestionRequest& request) {
  try {
    return Suggest(request);
  } catch (const std::exception& e) {
    SuggestionResult result;
    result.why = NoSuggestion::kFailed;
    result.message = DescribeFailure(e);
    return result;
  }
}

}  // namespace vantrel
