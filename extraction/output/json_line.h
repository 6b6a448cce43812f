// The line of a JSON-lines output (--jsonl) for one piece: a JSON object
// naming the source and holding the piece, UTF-8, ended by a line feed,
// written with nlohmann::json as vantrel-cli's JSON report is.
#ifndef VANTREL_EXTRACTION_OUTPUT_JSON_LINE_H_
#define VANTREL_EXTRACTION_OUTPUT_JSON_LINE_H_

#include <string>
#include <string_view>

namespace vantrel {

// {"file":<name>,"piece":<piece>} and a line feed; a name that is not
// valid UTF-8 also gets "file_bytes", its bytes in hex. A lone surrogate in
// either shows as U+FFFD.
std::string JsonLine(std::u16string_view name, std::u16string_view piece);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_OUTPUT_JSON_LINE_H_
