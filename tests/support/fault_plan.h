// Making the file system fail on purpose: a plan that tests put into the
// file-system layer's seam. It counts every operation by kind and can fail,
// or run an action just before, the n-th operation of one kind. It is safe
// when several threads touch the file system at once; the n-th operation is
// then the n-th to reach the seam.
#ifndef VANTREL_TESTS_SUPPORT_FAULT_PLAN_H_
#define VANTREL_TESTS_SUPPORT_FAULT_PLAN_H_

#include <functional>

#include "extraction/operation_seam.h"

namespace vantrel::testing {

// Makes the `nth` (1-based) operation of kind `operation` from now on fail
// with `error_number`. One plan at a time; ClearFault removes it.
void InjectFault(fs::Operation operation, int nth, int error_number);

// Runs `action` just before the `nth` operation of kind `operation`, which
// then goes ahead: a test's way to change the folder in the middle of a run.
void BeforeOperation(fs::Operation operation, int nth,
                     std::function<void()> action);

// Removes the plan; operations go on being counted from zero.
void ClearFault();

// How many operations of that kind ran since the last InjectFault,
// BeforeOperation or ClearFault, so that a test can walk every operation of
// a run.
int OperationCount(fs::Operation operation);

}  // namespace vantrel::testing

#endif  // VANTREL_TESTS_SUPPORT_FAULT_PLAN_H_
