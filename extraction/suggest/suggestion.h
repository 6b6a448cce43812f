// Marker suggestion: the engine finds the start and end markers itself.
//
// Pages of one site come from one template: what is the same on every page
// is the template, what differs is the page's own content. Comparing the
// pages of a folder finds the template text that brackets the content on
// every page, and offers it as a marker pair. Or, around a piece of text the
// user pasted as a browser shows it, the engine finds the element that holds
// it and the shortest markers around that element that work on most pages.
//
// A suggestion reads the files a run with the same folder, extensions,
// recursion and charset would read, and writes nothing anywhere.
#ifndef VANTREL_EXTRACTION_SUGGEST_SUGGESTION_H_
#define VANTREL_EXTRACTION_SUGGEST_SUGGESTION_H_

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "extraction/file_selection.h"

namespace vantrel {

// What to suggest markers for.
struct SuggestionRequest {
  // The files, as for a run (file_selection.h).
  FileSelection files;
  // Some of the wanted text as a browser shows it (no tags; spacing, line
  // breaks, entities and letter case may differ from the source). Empty:
  // the markers come from comparing the pages alone.
  std::u16string around;
  // Asked between pages, on the suggestion's thread; once it says true the
  // suggestion ends as kStopped. Empty: never stops.
  std::function<bool()> stop_requested = {};
};

// One suggested marker pair, with what it gives on the folder.
struct MarkerSuggestion {
  // The markers, exactly as a run takes them: literal text, or patterns
  // for a run with regular-expression markers when `regex` is set (only
  // where the template varies per page: ids, dates, counters).
  std::u16string start;
  std::u16string end;
  bool regex = false;
  // How many of the folder's files the pair gives a piece on.
  std::int64_t pieces = 0;
  // The median length of those pieces, in characters.
  std::int64_t median_length = 0;
  // The first 80 visible characters (tags left out, entities decoded,
  // whitespace collapsed) of the piece on the first file that gives one.
  std::u16string preview;
  // What the pair marks out, in a few words ("the pages' main element",
  // "between the template text the pages share").
  std::u16string basis;
};

// Why there is no suggestion.
enum class NoSuggestion {
  kNone,              // there is at least one suggestion
  kInputMissing,      // no folder or no extension given, or no such folder
  kTooFewFiles,       // fewer than 3 files to compare
  kAllAlike,          // the files do not differ, so nothing marks content
  kTextNotFound,      // the text to suggest around is on none of the files
  kNoMarkers,         // no marker pair gives a piece on enough of the files
  kNoSharedTemplate,  // no template shared by pages that differ in it
  kFailed,            // a file or folder could not be read, or memory ran out
  kStopped,           // stop_requested said true before the suggestion ended
};

struct SuggestionResult {
  // Best first, at most three.
  std::vector<MarkerSuggestion> suggestions;
  // The files read.
  std::int64_t files = 0;
  // Files that follow another template than the majority's, on which the
  // first suggestion gives no piece.
  std::int64_t other_template = 0;
  NoSuggestion why = NoSuggestion::kNone;
  // With a suggestion: one line saying how many files the first one gives
  // a piece on. Without: why there is none, and what to try instead. The
  // front ends show it as it stands. After a failure (kFailed): the
  // failure's description (failure.h), which the front ends tell as a run
  // tells the failure that ends it.
  std::u16string message;
};

// Reads the request's files and suggests markers for them. A folder or
// file that cannot be read ends the suggestion as kFailed.
SuggestionResult SuggestMarkers(const SuggestionRequest& request);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_SUGGEST_SUGGESTION_H_
