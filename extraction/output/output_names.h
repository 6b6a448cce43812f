// The names of a run's output, and which one is free.
//
// The collected file is "<folder>/Export<N>.<extension>" and the output
// folder of the separated layout "<folder>/Export<N>", with a separator
// added when the folder lacks one. N is the first number from 1 whose name
// is free: only a file (or a link to one) holds up the collected file's
// name, only a folder (or a link to one) the output folder's, and a name
// held in any letter case is held, since matching ignores letter case and
// a share that does too would make the two one. Choosing a name creates
// nothing, so a run can tell what it would make.
#ifndef VANTREL_EXTRACTION_OUTPUT_OUTPUT_NAMES_H_
#define VANTREL_EXTRACTION_OUTPUT_OUTPUT_NAMES_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace vantrel {

std::u16string OutputFileName(std::u16string_view source_path, std::int64_t n,
                              std::u16string_view extension);
std::u16string OutputFolderName(std::u16string_view source_path,
                                std::int64_t n);

// The output numbers that earlier outputs hold in the scanned folder, from
// one listing of it, so that finding a free one costs the same however many
// there are.
class TakenOutputNumbers {
 public:
  // The numbers whose collected file name with `extension` a file holds.
  static TakenOutputNumbers OfFiles(std::u16string_view source_path,
                                    std::u16string_view extension);
  // The numbers whose output folder name a folder holds.
  static TakenOutputNumbers OfFolders(std::u16string_view source_path);

  // The first number from `from` that the listing showed free.
  std::int64_t FirstFree(std::int64_t from = 1) const;

 private:
  // `extension` nothing: the output folders.
  TakenOutputNumbers(std::u16string_view source_path,
                     std::optional<std::u16string_view> extension);

  std::unordered_set<std::int64_t> taken_;
};

// The names of the separate files of a text output: each source's name
// with its extension replaced by "txt" (a.htm: a.txt), or, where two of the
// run's sources would get one name (a.htm and a.html, letter case aside),
// with "txt" added (a.htm.txt, a.html.txt).
class TextFileNames {
 public:
  explicit TextFileNames(const std::vector<std::u16string_view>& sources);
  std::u16string For(std::u16string_view source) const;

 private:
  // How many sources each replaced name, lower-cased, would serve.
  std::unordered_map<std::u16string, int> uses_;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_OUTPUT_OUTPUT_NAMES_H_
