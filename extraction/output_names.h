// The names of a run's output, and which one is free.
//
// The collected file is "<folder>/Export<N>.<extension>" and the output
// folder of the separated layout "<folder>/Export<N>", with a separator
// added when the folder lacks one. N is the first number from 1 whose name
// is free: only a file (or a link to one) holds up the collected file's
// name, only a folder (or a link to one) the output folder's. Choosing a
// name creates nothing, so a run can tell what it would make.
#ifndef VANTREL_EXTRACTION_OUTPUT_NAMES_H_
#define VANTREL_EXTRACTION_OUTPUT_NAMES_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace vantrel {

std::u16string OutputFileName(std::u16string_view source_path, std::int64_t n,
                              std::u16string_view extension);
std::u16string OutputFolderName(std::u16string_view source_path,
                                std::int64_t n);

// The first number from `from` whose collected file name no file holds, or
// whose output folder name no folder holds.
std::int64_t FirstFreeFileNumber(std::u16string_view source_path,
                                 std::u16string_view extension,
                                 std::int64_t from = 1);
std::int64_t FirstFreeFolderNumber(std::u16string_view source_path,
                                   std::int64_t from = 1);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_OUTPUT_NAMES_H_
