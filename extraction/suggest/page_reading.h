// The pages a suggestion looks at: the files a run with the same folder,
// extensions, recursion and charset reads, in its order, decoded as the run
// decodes them. Among web archives, a sample: the first pages in record
// order, held in memory (kSamplePages at most).
#ifndef VANTREL_EXTRACTION_SUGGEST_PAGE_READING_H_
#define VANTREL_EXTRACTION_SUGGEST_PAGE_READING_H_

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "extraction/file_selection.h"
#include "extraction/match/marker_search.h"
#include "extraction/source/source_cut.h"
#include "extraction/source/source_listing.h"
#include "extraction/text/charsets.h"

namespace vantrel {

// Thrown by PageReader when the suggestion was asked to stop.
struct SuggestionStopped {};

class PageReader {
 public:
  // Lists the folder and, unless it is given, decides the charset from the
  // first file, as a run does. Failures are thrown as RunError.
  // `stop_requested` is asked before each page is read; true ends the
  // reading with SuggestionStopped. It is called on the reading thread.
  explicit PageReader(const FileSelection& files,
                      std::function<bool()> stop_requested = {});
  PageReader(const PageReader&) = delete;
  PageReader& operator=(const PageReader&) = delete;

  // The most pages of web archives that a suggestion looks at.
  static constexpr std::size_t kSamplePages = 200;

  std::size_t size() const {
    return sampled_ ? sample_.size() : sources_.items.size();
  }

  // The decoded text of file `index`. Read and ForEach throw
  // SuggestionStopped, before a page, once a stop was requested.
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

  void StopIfRequested() const;
  // Reads the sample of pages, when web archives are among the sources.
  void Sample();
  // The page `index` of the sample, cut.
  SourcePiece CutSample(std::size_t index, SourceBuffers& buffers) const;

  Sources sources_;
  // A page of the sample: its bytes, and the charset its HTTP header
  // declares.
  struct SamplePage {
    std::string bytes;
    std::string charset;
  };
  bool sampled_ = false;
  std::vector<SamplePage> sample_;
  std::function<bool()> stop_requested_;
  NoMarker none_;
  std::optional<SourceCutter> cutter_;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_SUGGEST_PAGE_READING_H_
