// Why a file gave no piece, when a marker is nearly there.
//
// "Haven't start: page.htm" says what failed, never why. For a file that
// lacks a marker, this looks for the likeliest reasons, in this order, and
// gives the first that applies: the file is in another charset than the
// run's; the marker is there with other line breaks; in other letter case;
// with other spacing; or, for the end marker, only before the start marker.
// It is asked only about files that gave no piece, and works on the text
// the run already decoded.
#ifndef VANTREL_EXTRACTION_NEAR_MISS_H_
#define VANTREL_EXTRACTION_NEAR_MISS_H_

#include <optional>
#include <string>
#include <string_view>

#include "extraction/charsets.h"
#include "extraction/cut.h"
#include "extraction/matchers.h"

namespace vantrel {

struct Hint {
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
};

// The first reason that applies why `text` (decoded from `bytes`) gave no
// piece under `cut`, or nothing when the file has no near match.
std::optional<Hint> FindNearMiss(const NearMissRun& run, std::string_view bytes,
                                 std::u16string_view text, const Cut& cut);

// A short name for a kind of hint, as reports name it: "charset",
// "line_breaks", "letter_case", "spacing", "end_before_start".
std::string_view HintKindName(Hint::Kind kind);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_NEAR_MISS_H_
