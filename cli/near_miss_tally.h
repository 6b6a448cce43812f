// The near misses of a run, counted by kind and marker, for the line on
// standard error that tells a user without --explain that their marker is
// nearly right.
#ifndef VANTREL_CLI_NEAR_MISS_TALLY_H_
#define VANTREL_CLI_NEAR_MISS_TALLY_H_

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "extraction/file_report.h"

namespace vantrel::cli {

class NearMissTally {
 public:
  void Add(const NearMiss& hint) {
    ++counts_[{hint.kind, hint.end_marker, hint.mend.line_breaks_any}];
  }

  // One line for each kind of near miss met, most files first, for example
  // "vantrel-cli: 37 files that gave no piece have the start marker with
  // other line breaks; --explain lists them, --line-breaks any matches
  // them".
  std::vector<std::string> Lines() const;

 private:
  // By kind, marker (true: the end marker) and whether the mend needs
  // --line-breaks any: a letter-case miss with other line breaks as well
  // is mended by two options, not one.
  using Key = std::tuple<NearMiss::Kind, bool, bool>;
  std::map<Key, int> counts_;
};

}  // namespace vantrel::cli

#endif  // VANTREL_CLI_NEAR_MISS_TALLY_H_
