// Making the file system fail on purpose: a plan that tests put into the
// file-system layer's seam. It counts every operation, by kind and by kind
// and path, and can fail the n-th operation of one kind on one path, or run
// an action just before the n-th of one kind. It is safe when several threads
// touch the file system at once. The n-th operation of a kind is then the
// n-th to reach the seam, which may differ from run to run when a run reads
// ahead on a second thread; the n-th on one path is always the same one.
#ifndef VANTREL_TESTS_SUPPORT_FAULT_PLAN_H_
#define VANTREL_TESTS_SUPPORT_FAULT_PLAN_H_

#include <filesystem>
#include <functional>
#include <map>
#include <utility>

#include "extraction/sys/operation_seam.h"

namespace vantrel::testing {

// Makes the `nth` (1-based) operation of kind `operation` on `path` from now
// on fail with `error_number`. One plan at a time; ClearFault removes it.
void InjectFaultOn(fs::Operation operation, const std::filesystem::path& path,
                   int nth, int error_number);

// Runs `action` just before the `nth` operation of kind `operation`, which
// then goes ahead: a test's way to change the folder in the middle of a run.
void BeforeOperation(fs::Operation operation, int nth,
                     std::function<void()> action);

// Removes the plan; operations go on being counted from zero.
void ClearFault();

// How many operations of each kind ran on each path since the last
// InjectFaultOn, BeforeOperation or ClearFault, so that a test can walk
// every operation of a run.
std::map<std::pair<fs::Operation, std::filesystem::path>, int>
OperationCountsByPath();

}  // namespace vantrel::testing

#endif  // VANTREL_TESTS_SUPPORT_FAULT_PLAN_H_
