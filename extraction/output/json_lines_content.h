// The output of --jsonl: one collected file ExportN.jsonl, UTF-8, with a
// JSON line per piece, written with nlohmann::json as vantrel-cli's JSON
// report is. It has no separated layout.
#ifndef VANTREL_EXTRACTION_OUTPUT_JSON_LINES_CONTENT_H_
#define VANTREL_EXTRACTION_OUTPUT_JSON_LINES_CONTENT_H_

#include <string_view>

#include "extraction/output/output_content.h"
#include "extraction/sys/file_system.h"

namespace vantrel {

class JsonLinesContent : public OutputContent {
 public:
  JsonLinesContent() : OutputContent(OutputFormat::kUtf8, true) {}

  std::u16string_view extension() const override { return u"jsonl"; }
  bool Separable() const override { return false; }
  // Appends {"file":<source>,"piece":<piece>} and a line feed; a source
  // name that is not valid UTF-8 also gets "file_bytes", its bytes in hex.
  // A lone surrogate in either shows as U+FFFD.
  void Append(fs::OutputFile& file, bool new_file,
              const OutputEntry& entry) override;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_OUTPUT_JSON_LINES_CONTENT_H_
