// The line of a JSON-lines output (--jsonl) for one piece: a JSON object
// naming the source and holding the piece, UTF-8, ended by a line feed. The
// engine writes it itself; it needs nothing of JSON but the writing of a
// string, which is small enough to own.
#ifndef VANTREL_EXTRACTION_OUTPUT_JSON_LINE_H_
#define VANTREL_EXTRACTION_OUTPUT_JSON_LINE_H_

#include <string>
#include <string_view>

namespace vantrel {

// Appends `text` to `json` as a JSON string, quotes included: quote,
// backslash and control characters escaped, the rest UTF-8 (a lone
// surrogate as U+FFFD).
void AppendJsonString(std::u16string_view text, std::string& json);

// {"file":<name>,"piece":<piece>} and a line feed; a name that is not
// valid UTF-8 also gets "file_bytes", its bytes in hex.
std::string JsonLine(std::u16string_view name, std::u16string_view piece);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_OUTPUT_JSON_LINE_H_
