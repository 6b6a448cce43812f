// How a run with `--charset detect` tells each source's charset on its own,
// and how it decodes the charsets that only such a run meets.
//
// The first step that answers wins: a signature; the whole source being
// valid UTF-8 with at least one character beyond ASCII; UTF-16 without a
// signature, when one byte of each pair is almost always a control byte
// (0x00-0x07, the high byte of Latin, Greek, Cyrillic, Hebrew and Arabic
// text); the charset that a <meta> element of the first 1,024 bytes
// declares, named as web browsers name it, unless the bytes cannot be in it
// or the Arabic letters are plainly those of the other Arabic charset; ICU's
// statistical detector on the text with tags, scripts, styles and comments
// left out; and else windows-1256, in which plain ASCII reads as in every
// other candidate.
#ifndef VANTREL_EXTRACTION_TEXT_CHARSET_DETECTION_H_
#define VANTREL_EXTRACTION_TEXT_CHARSET_DETECTION_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "extraction/text/charset_labels.h"
#include "extraction/text/charsets.h"

namespace vantrel {

// The step that decided.
enum class DetectionReason {
  kSignature,
  kUtf8,
  kUtf16,
  kMeta,
  kDetected,
  kDefault,
};

// A source's charset as detection decided it.
struct CharsetDecision {
  // ICU's and the web's name of the charset: "UTF-8", "windows-1256",
  // "ISO-8859-6", "windows-1252", ...
  std::string name;
  // The charset among the four that decode without ICU's converters, when
  // it is one of them.
  std::optional<Charset> fast;
  DetectionReason reason = DetectionReason::kDefault;
  // ICU's statistical detector's confidence (0-100) in the charset chosen
  // by the statistics; 0 when ICU does not name it, and for the other steps.
  int confidence = 0;
  // Whether the statistics' choice is a guess that the two detectors do
  // not both back: they read the text differently, or one names nothing.
  bool low_confidence = false;
};

// "signature", "utf-8", "utf-16", "meta", "detected", "default".
std::string_view DetectionReasonName(DetectionReason reason);

// The charset of a whole source, its bytes `bytes`. A charset label that
// came with the source from outside its bytes (the Content-Type header of
// a page in a web archive) counts as a meta charset does, and before the
// page's own <meta>, as web browsers let the header win.
CharsetDecision DecideSourceCharset(std::string_view bytes,
                                    std::string_view declared = {});

// The charset that the HTML prescan of the first 1,024 bytes finds in a
// <meta charset> or <meta http-equiv="Content-Type" content="...">, by
// web browsers' label table ("latin1" is windows-1252, "arabic"
// ISO-8859-6, "utf-16" UTF-8); nothing when none names a known one.
std::optional<std::string> MetaCharset(std::string_view bytes);

// Decodes a whole source in the decided charset into the start of
// `buffer`, a signature left out, as DecodeTextInto does; charsets beyond
// the four go through ICU's converters, a byte they lack becoming U+FFFD.
// Returns how many units hold the text.
std::size_t DecodeDecidedInto(std::string_view bytes,
                              const CharsetDecision& decision,
                              std::u16string& buffer);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_TEXT_CHARSET_DETECTION_H_
