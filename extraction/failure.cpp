#include "extraction/failure.h"

#include <new>

#include "extraction/messages.h"
#include "extraction/text/text.h"

namespace vantrel {

std::u16string DescribeFailure(const std::exception& failure) {
  if (dynamic_cast<const std::bad_alloc*>(&failure) != nullptr) {
    return Utf8ToText(kOutOfMemoryDescription);
  }
  return Utf8ToText(failure.what());
}

}  // namespace vantrel
