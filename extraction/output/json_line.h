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
// A page of a web archive also gets "warc_record_id" and "date" (its
// WARC-Record-ID and WARC-Date), after "file".
struct RecordOrigin {
  std::string_view record_id;
  std::string_view date;
};
std::string JsonLine(std::u16string_view name, std::u16string_view piece,
                     const RecordOrigin* record = nullptr);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_OUTPUT_JSON_LINE_H_
