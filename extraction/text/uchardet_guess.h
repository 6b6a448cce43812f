// uchardet's statistical guess of a text's charset, the one place where the
// engine meets uchardet.
#ifndef VANTREL_EXTRACTION_TEXT_UCHARDET_GUESS_H_
#define VANTREL_EXTRACTION_TEXT_UCHARDET_GUESS_H_

#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// The charset that uchardet takes the bytes to be in, by the name web
// browsers give it ("windows-1251", "Shift_JIS", "gb18030"); nothing when
// it names none, or one that web browsers do not know.
std::optional<std::string> UchardetGuess(std::string_view bytes);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_TEXT_UCHARDET_GUESS_H_
