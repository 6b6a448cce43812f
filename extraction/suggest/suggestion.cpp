#include "extraction/suggest/suggestion.h"

#include "extraction/messages.h"
#include "extraction/suggest/marker_suggestion.h"
#include "extraction/suggest/page_reading.h"
#include "extraction/suggest/suggestion_messages.h"
#include "extraction/sys/file_system.h"
#include "extraction/text/native_names.h"
#include "extraction/text/text.h"

namespace vantrel {
namespace {

std::u16string NoSuggestionMessage(NoSuggestion why, std::int64_t files) {
  switch (why) {
    case NoSuggestion::kTooFewFiles:
      if (files == 0) return std::u16string(kNoFilesMessage);
      return std::u16string(kTooFewFilesPrefix) + DecimalText(files) +
             std::u16string(kTooFewFilesSuffix);
    case NoSuggestion::kAllAlike:
      return std::u16string(kAllAlikeMessage);
    case NoSuggestion::kTextNotFound:
      return std::u16string(kTextNotFoundMessage);
    case NoSuggestion::kNoSharedTemplate:
      return std::u16string(kNoSharedTemplateMessage);
    case NoSuggestion::kNoMarkers:
    case NoSuggestion::kNone:
    case NoSuggestion::kInputMissing:
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

}  // namespace

SuggestionResult SuggestMarkers(const SuggestionRequest& request) {
  SuggestionResult result;
  // The run's own input checks, with its messages.
  std::u16string_view missing;
  if (request.folder.empty()) {
    missing = kNoFolderMessage;
  } else if (request.extension.empty()) {
    missing = kNoExtensionMessage;
  } else if (!fs::FolderExists(NativePath(request.folder))) {
    missing = kMissingFolderMessage;
  }
  if (!missing.empty()) {
    result.why = NoSuggestion::kInputMissing;
    result.message = missing;
    return result;
  }
  PageSource source{NativePath(request.folder),
                    {request.extension},
                    request.recursive,
                    request.charset,
                    request.detect_charset};
  source.extensions.insert(source.extensions.end(),
                           request.more_extensions.begin(),
                           request.more_extensions.end());
  PageReader reader(source);
  const FoundPairs found = FindMarkerPairs(reader, request.around);
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

}  // namespace vantrel
