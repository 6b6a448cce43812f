// The pages a suggestion looks at: the files a run with the same folder,
// extensions, recursion and charset reads, in its order, decoded as the run
// decodes them.
#ifndef VANTREL_EXTRACTION_SUGGEST_PAGE_READING_H_
#define VANTREL_EXTRACTION_SUGGEST_PAGE_READING_H_

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "extraction/match/marker_search.h"
#include "extraction/source/source_cut.h"
#include "extraction/source/source_listing.h"
#include "extraction/text/charsets.h"

namespace vantrel {

struct PageSource {
  fs::Path folder;
  std::vector<std::u16string> extensions;
  bool recursive = false;
  // As for a run: every file in this charset, or nothing for the first
  // file's signature; or each file in its own (`detect_charset`).
  std::optional<Charset> charset;
  bool detect_charset = false;
};

class PageReader {
 public:
  // Lists the folder and, unless it is given, decides the charset from the
  // first file, as a run does. Failures are thrown as RunError.
  explicit PageReader(const PageSource& source);
  PageReader(const PageReader&) = delete;
  PageReader& operator=(const PageReader&) = delete;

  std::size_t size() const { return sources_.items.size(); }

  // The decoded text of file `index`.
  std::u16string Read(std::size_t index);

  // The text of file `index` as a browser shows the page, whatever the
  // charset the run reads it in: by its signature, else its meta charset,
  // else what detection says (charset_detection.h). A UTF-8 page without a
  // signature that a run reads as windows-1256 shows its own characters.
  std::u16string ReadAsShown(std::size_t index);

  // Reads every file in order, reading ahead on a second thread as a run
  // does, and hands each text to `visit`, which returns false to stop.
  void ForEach(
      const std::function<bool(std::size_t, std::u16string_view)>& visit);

 private:
  // Finds nothing: the texts are only decoded, never cut, while reading.
  class NoMarker final : public Matcher {
   public:
    std::optional<TextRange> Find(std::u16string_view) const override {
      return std::nullopt;
    }
  };

  Sources sources_;
  NoMarker none_;
  std::optional<SourceCutter> cutter_;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_SUGGEST_PAGE_READING_H_
