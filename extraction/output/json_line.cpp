#include "extraction/output/json_line.h"

#include <nlohmann/json.hpp>

#include "extraction/text/native_names.h"
#include "extraction/text/text.h"

namespace vantrel {

std::string JsonLine(std::u16string_view name, std::u16string_view piece,
                     const RecordOrigin* record) {
  nlohmann::ordered_json line;
  // A name that is not valid UTF-8 shows U+FFFD; its exact bytes go beside
  // it in hex, as in vantrel-cli's JSON report.
  line["file"] = TextToUtf8(name);
  if (auto hex = NameBytesInHex(name)) line["file_bytes"] = std::move(*hex);
  if (record != nullptr) {
    // Archives are not always valid UTF-8; a bad byte shows as U+FFFD.
    line["warc_record_id"] = TextToUtf8(Utf8ToText(record->record_id));
    line["date"] = TextToUtf8(Utf8ToText(record->date));
  }
  line["piece"] = TextToUtf8(piece);
  return line.dump() + "\n";
}

}  // namespace vantrel
