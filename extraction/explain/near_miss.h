// Why a file gave no piece, when a marker is nearly there.
//
// "Haven't start: page.htm" says what failed, never why. For a file that
// lacks a marker, this looks for the likeliest reasons, in this order, and
// gives the first that applies: the file is in another charset than the
// run's; the marker is there with other line breaks; in other letter case;
// with other spacing; or, for the end marker, only before the start marker.
// It is asked only about files that gave no piece, and works on the text
// the run already decoded, and on the file's bytes for the charsets.
//
// Every check is cheap beside the run's own search of the file: one search
// with every tolerance at once rules out three kinds of hint in most files
// (matchers.h's literal part passes over them fast), a search is made once
// however many checks ask for it, and a pattern's search may take a small
// share of the time the run's may. A check that runs away is no hint, and
// is not tried again in the run.
#ifndef VANTREL_EXTRACTION_EXPLAIN_NEAR_MISS_H_
#define VANTREL_EXTRACTION_EXPLAIN_NEAR_MISS_H_

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "extraction/match/cut.h"
#include "extraction/match/matchers.h"
#include "extraction/text/charsets.h"

namespace vantrel {

struct NearMiss {
  enum class Kind {
    kCharset,
    kLineBreaks,
    kLetterCase,
    kSpacing,
    kEndBeforeStart
  };
  Kind kind;
  // Which marker the hint is about: the one the file lacks.
  bool end_marker = false;
  // The 1-based line of the text where the near match begins; 0 for a
  // charset hint, which has none.
  int line = 0;
  // The hint as a sentence, for example "the start marker is there at line
  // 12 with LF line breaks; the marker has CR LF".
  std::u16string text;
  // The tolerances that the run would need besides its own to match the
  // marker here; none when no option does (spacing, charset, end before
  // start).
  MatchOptions mend;
};

// What the analysis needs to know of the run.
struct NearMissRun {
  std::u16string_view start_marker;
  std::u16string_view end_marker;
  MatchOptions matching;  // how the run matches its markers
  Charset charset;        // how the run reads every file
  // The name of the file whose signature decided the charset, as shown in
  // the log; empty when the charset was chosen for the run.
  std::u16string_view charset_decided_by;
  // Each file is read in the charset decided for it (--charset detect).
  bool charset_per_file = false;
};

// Finds the near misses of one run, file after file. It keeps what serves
// every file: the matchers, made once, and which searches ran away.
class NearMissFinder {
 public:
  // `run` and the texts it views must outlive the finder.
  explicit NearMissFinder(const NearMissRun& run);
  ~NearMissFinder();
  NearMissFinder(const NearMissFinder&) = delete;
  NearMissFinder& operator=(const NearMissFinder&) = delete;

  // The first reason that applies why `text` (decoded from `bytes`) gave
  // no piece under `cut`, or nothing when the file has no near match.
  std::optional<NearMiss> Find(std::string_view bytes, std::u16string_view text,
                               const CutResult& cut);

 private:
  class Analysis;
  struct Search;
  struct Probes;
  // The search for a marker (the end marker or the start marker) under
  // `options`, made when first asked for.
  Search& SearchFor(bool end_marker, const MatchOptions& options);
  // What tells in a file's bytes whether a marker may stand there in
  // another charset, made when first asked for.
  const Probes& ProbesFor(bool end_marker);

  const NearMissRun& run_;
  std::vector<std::unique_ptr<Search>> searches_;
  std::unique_ptr<Probes> probes_[2];  // the start marker's, the end's
};

// NearMissFinder's answer for a single file.
std::optional<NearMiss> FindNearMiss(const NearMissRun& run,
                                     std::string_view bytes,
                                     std::u16string_view text,
                                     const CutResult& cut);

// A short name for a kind of hint, as reports name it: "charset",
// "line_breaks", "letter_case", "spacing", "end_before_start".
std::string_view NearMissKindName(NearMiss::Kind kind);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_EXPLAIN_NEAR_MISS_H_
