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

// The names of the separate files of a text output, planned for all the
// run's sources at once so that no two share one (letter case aside) and
// each depends only on the set of sources, not on the order of writing:
// - each source's name with its extension replaced by "txt" (a.htm: a.txt);
// - where two sources would get one name that way (a.htm and a.html), each
//   of them keeps its extension and has "txt" added (a.htm.txt, a.html.txt);
// - where a name is still wanted by more than one source (x.htm's x.htm.txt
//   and x.htm.html's), the source first in name order keeps it and each
//   other gets the first free number in brackets before ".txt"
//   ("x.htm (2).txt").
class TextFileNames {
 public:
  explicit TextFileNames(const std::vector<std::u16string_view>& sources);
  // The planned name of `source`, one of the sources the plan was made for.
  std::u16string For(std::u16string_view source) const;

 private:
  std::unordered_map<std::u16string, std::u16string> names_;
};

// The names of the separate files of a run over a list of files, which
// share no folder, planned for the whole list at once:
// - each is the last part of its path ("/a/b/page.htm" gives "page.htm"),
//   so that no name reaches outside the output folder or into a sub-folder;
// - where a name is wanted more than once, letter case aside (two folders'
//   page.htm, or a file listed twice), the first in the list keeps it and
//   each other gets the first free number in brackets before its extension
//   ("page (2).htm"; "notes (2)" for a name without one). Every wanted name
//   is held before any number is given, so a number never takes a name
//   that a later file wants.
class ListedFileNames {
 public:
  explicit ListedFileNames(const std::vector<std::u16string_view>& paths);
  // The name of the file at `index` of the list.
  const std::u16string& At(std::size_t index) const { return names_[index]; }

 private:
  std::vector<std::u16string> names_;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_OUTPUT_OUTPUT_NAMES_H_
