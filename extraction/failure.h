// A failure that ends a run or a suggestion, described for the user: the
// failure's own words (an operation, a path and the system's reason), or
// "Out of memory". Both front ends show it under "Unknown error occurred:".
#ifndef VANTREL_EXTRACTION_FAILURE_H_
#define VANTREL_EXTRACTION_FAILURE_H_

#include <exception>
#include <string>

namespace vantrel {

std::u16string DescribeFailure(const std::exception& failure);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_FAILURE_H_
