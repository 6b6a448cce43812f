// A count that holds 0 to 32767, like every count of a run and the output
// number: raising it beyond that ends the run with "Overflow".
#ifndef VANTREL_EXTRACTION_COUNTER_H_
#define VANTREL_EXTRACTION_COUNTER_H_

#include "extraction/messages.h"
#include "extraction/run_error.h"

namespace vantrel {

class Counter {
 public:
  static constexpr int kMax = 32767;

  void Increment() {
    if (value_ == kMax) throw RunError(std::string(kOverflowDescription));
    ++value_;
  }
  int value() const { return value_; }

 private:
  int value_ = 0;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_COUNTER_H_
