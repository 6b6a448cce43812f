// Finding a marker in a text. A match is a range of the text, in UTF-16
// code units, so that a matcher may find matches of another length than
// the marker it looks for. The exact search compares unit by unit, letter
// case and line breaks included; the same search over bytes finds a marker
// in a source's own bytes, where the charset allows (source_cut.h).
#ifndef VANTREL_EXTRACTION_MATCH_MARKER_SEARCH_H_
#define VANTREL_EXTRACTION_MATCH_MARKER_SEARCH_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// The units [begin, end) of a text.
struct TextRange {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t size() const { return end - begin; }
  bool operator==(const TextRange&) const = default;
};

// A match found in the text behind `from`, counted from the text's start.
inline std::optional<TextRange> MovedOn(std::optional<TextRange> found,
                                        std::size_t from) {
  if (!found) return std::nullopt;
  return TextRange{from + found->begin, from + found->end};
}

// Where `marker` first stands in `text`, or nothing. An empty marker stands
// at the start of a non-empty text and nowhere in an empty one.
std::optional<TextRange> FindMarker(std::u16string_view text,
                                    std::u16string_view marker);

// FindMarker over bytes: the range is in bytes.
std::optional<TextRange> FindBytes(std::string_view bytes,
                                   std::string_view marker);

// How a run looks for one of its markers.
class Matcher {
 public:
  virtual ~Matcher() = default;
  // The first match in `text`, or nothing.
  virtual std::optional<TextRange> Find(std::u16string_view text) const = 0;
  // The first match that lies wholly at or behind `from`, its range counted
  // from the start of `text`, or nothing. A matcher that judges a place by
  // the text around it (a pattern's look-behind, \b, ^) sees the text
  // before `from` as it is; the others look in `text.substr(from)` alone.
  virtual std::optional<TextRange> FindFrom(std::u16string_view text,
                                            std::size_t from) const {
    return MovedOn(Find(text.substr(from)), from);
  }
  // The marker when a match is exactly its units and nothing else, so that
  // the run may look for its bytes in a source without decoding it; null
  // for any other kind of matching, which the run then does on the
  // decoded text.
  virtual const std::u16string* ExactMarker() const { return nullptr; }
};

// The marker exactly as it is written.
class ExactMatcher final : public Matcher {
 public:
  explicit ExactMatcher(std::u16string marker) : marker_(std::move(marker)) {}
  std::optional<TextRange> Find(std::u16string_view text) const override {
    return FindMarker(text, marker_);
  }
  const std::u16string* ExactMarker() const override { return &marker_; }

 private:
  std::u16string marker_;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_MATCH_MARKER_SEARCH_H_
