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
// Pages unlike each other, or of templates whose pages do not differ
// (redirect stubs).
inline constexpr std::u16string_view kNoSharedTemplateMessage =
    u"No template is shared by files that differ in it, so nothing in them "
    u"marks the content. Suggest around a piece of the wanted text instead "
    u"(--around).";
inline constexpr std::u16string_view kTextNotFoundMessage =
    u"The text to suggest around is on none of the files.";
inline constexpr std::u16string_view kNoMarkersMessage =
    u"No marker pair gives a piece on enough of the files.";

// What a suggested pair marks out, in --json's "basis".
inline constexpr std::u16string_view kBasisMain = u"the pages' main element";
inline constexpr std::u16string_view kBasisArticle =
    u"the pages' article element";
inline constexpr std::u16string_view kBasisRoleMain =
    u"the pages' element of role main";
// "the pages' element of class \"content\"", of id ...
inline constexpr std::u16string_view kBasisElementOf =
    u"the pages' element of ";
inline constexpr std::u16string_view kBasisDiffering =
    u"between the template text the pages share, around what differs";
inline constexpr std::u16string_view kBasisWholeAnchors =
    u"between whole template parts the pages share, around what differs";
inline constexpr std::u16string_view kBasisWider =
    u"one template part wider on each side than what differs";
inline constexpr std::u16string_view kBasisOverTags =
    u"what differs, with the template's tags around it";
inline constexpr std::u16string_view kBasisFrame =
    u"the frame that pages of another template share too";
inline constexpr std::u16string_view kBasisToEnd =
    u"from the template text the pages share to the end of each file";
inline constexpr std::u16string_view kBasisToClosing =
    u"from the template text the pages share to the text that closes most "
    u"of them, or the end of each file";
inline constexpr std::u16string_view kBasisAroundRegion =
    u"what differs between the pages, around the text";
inline constexpr std::u16string_view kBasisAroundElement =
    u"the element that holds the text";

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_SUGGEST_SUGGESTION_MESSAGES_H_
