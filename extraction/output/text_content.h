// The output of a transform that gives plain text (--text): UTF-8 unless
// the options name another encoding, the collected file ExportN.txt with
// one blank line between any two texts, and separate files named by
// TextFileNames from all the run's sources.
#ifndef VANTREL_EXTRACTION_OUTPUT_TEXT_CONTENT_H_
#define VANTREL_EXTRACTION_OUTPUT_TEXT_CONTENT_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "extraction/output/output_content.h"
#include "extraction/output/output_names.h"
#include "extraction/sys/file_system.h"
#include "extraction/text/charsets.h"

namespace vantrel {

class TextContent : public OutputContent {
 public:
  explicit TextContent(std::optional<OutputFormat> format);

  std::u16string_view extension() const override { return u"txt"; }
  bool NamesFromAllSources() const override { return true; }
  void NameSeparateFiles(
      const std::vector<std::u16string_view>& sources) override;
  std::u16string SeparateName(std::u16string_view source) const override;
  void Append(fs::OutputFile& file, bool new_file,
              const OutputEntry& entry) override;

 private:
  std::optional<TextFileNames> names_;
  // Whether a text that was not empty went into the file written last.
  bool text_in_file_ = false;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_OUTPUT_TEXT_CONTENT_H_
