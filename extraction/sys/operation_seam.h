// The one seam through which every system call of the file-system layer
// passes, so that tests can count the operations of a run and make any one
// of them fail (tests/support/fault_plan.h). Without a hook, which is how
// the programs run, each call costs one atomic load more.
#ifndef VANTREL_EXTRACTION_SYS_OPERATION_SEAM_H_
#define VANTREL_EXTRACTION_SYS_OPERATION_SEAM_H_

#include <filesystem>
#include <string_view>
#include <utility>

namespace vantrel::fs {

// The file system's operations, by kind.
enum class Operation {
  kOpen,
  kRead,
  kWrite,
  kClose,
  kStat,
  kList,
  kCreateFolder,
};

// Every operation, with its name.
inline constexpr std::pair<Operation, std::string_view> kOperations[] = {
    {Operation::kOpen, "open"},
    {Operation::kRead, "read"},
    {Operation::kWrite, "write"},
    {Operation::kClose, "close"},
    {Operation::kStat, "stat"},
    {Operation::kList, "list"},
    {Operation::kCreateFolder, "create folder"},
};

// Asked just before each system call, on whichever thread makes it, with
// the path that the call is about (the folder, for a listing): the error
// number to fail the call with, or 0 to let it run. It must be safe to call
// from several threads at once. Calls about one path come from one thread
// at a time, in the order the run makes them, so counting them by path
// names the same call in every run.
using OperationHook = int (*)(Operation, const std::filesystem::path&);

// Puts `hook` in the seam (nullptr takes it out).
void SetOperationHook(OperationHook hook);

}  // namespace vantrel::fs

#endif  // VANTREL_EXTRACTION_SYS_OPERATION_SEAM_H_
