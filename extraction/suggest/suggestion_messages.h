// Every text that a marker suggestion says: how many files the first pair
// gives a piece on, or why there is no pair and what to try instead.
#ifndef VANTREL_EXTRACTION_SUGGEST_SUGGESTION_MESSAGES_H_
#define VANTREL_EXTRACTION_SUGGEST_SUGGESTION_MESSAGES_H_

#include <string_view>

namespace vantrel {

// "The suggested markers give a piece on 6612 of 6660 files.", followed,
// when some files follow another template, by " 48 files follow another
// template."
inline constexpr std::u16string_view kSuggestedPiecesPrefix =
    u"The suggested markers give a piece on ";
inline constexpr std::u16string_view kSuggestedPiecesOf = u" of ";
inline constexpr std::u16string_view kSuggestedPiecesSuffix = u" files.";
inline constexpr std::u16string_view kOtherTemplateSuffix =
    u" files follow another template.";

// Comparing the pages needs at least three: "Only 2 files to compare; ...",
// "Only 1 file to compare; ...".
inline constexpr std::u16string_view kTooFewFilesPrefix = u"Only ";
inline constexpr std::u16string_view kTooFewFilesOne = u" file";
inline constexpr std::u16string_view kTooFewFilesMany = u" files";
inline constexpr std::u16string_view kTooFewFilesSuffix =
    u" to compare; suggesting markers from the pages takes at least "
    u"3. Suggest around a piece of the wanted text instead (--around).";
inline constexpr std::u16string_view kNoFilesMessage =
    u"No files to suggest markers for.";
inline constexpr std::u16string_view kAllAlikeMessage =
    u"The files do not differ, so nothing in them marks the content. Suggest "
    u"around a piece of the wanted text instead (--around).";
inline constexpr std::u16string_view kTextNotFoundMessage =
    u"The text to suggest around is on none of the files.";
inline constexpr std::u16string_view kNoMarkersMessage =
    u"No marker pair gives a piece on enough of the files.";

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_SUGGEST_SUGGESTION_MESSAGES_H_
