#include "extraction/output/json_lines_content.h"

#include <nlohmann/json.hpp>
#include <string>

#include "extraction/text/native_names.h"
#include "extraction/text/text.h"

namespace vantrel {

void JsonLinesContent::Append(fs::OutputFile& file, bool /*new_file*/,
                              const OutputEntry& entry) {
  std::u16string decoded;
  nlohmann::ordered_json line;
  // A name that is not valid UTF-8 shows U+FFFD; its exact bytes go beside
  // it in hex, as in vantrel-cli's JSON report.
  line["file"] = TextToUtf8(entry.source);
  if (auto hex = NameBytesInHex(entry.source)) {
    line["file_bytes"] = std::move(*hex);
  }
  if (entry.record != nullptr) {
    // Archives are not always valid UTF-8; a bad byte shows as U+FFFD.
    line["warc_record_id"] = TextToUtf8(Utf8ToText(entry.record->record_id));
    line["date"] = TextToUtf8(Utf8ToText(entry.record->date));
  }
  line["piece"] = TextToUtf8(PieceText(entry.piece, decoded));
  file.Append(line.dump() + "\n");
}

}  // namespace vantrel
