// The charset names that vantrel-cli's --charset takes and its JSON report
// gives: the usual names, in lower case.
#ifndef VANTREL_CLI_CHARSET_NAMES_H_
#define VANTREL_CLI_CHARSET_NAMES_H_

#include <string>

#include "extraction/text/charsets.h"

namespace vantrel::cli {

inline std::string CharsetOptionName(Charset charset) {
  std::string name(CharsetLabel(charset));
  for (char& c : name) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return name;
}

}  // namespace vantrel::cli

#endif  // VANTREL_CLI_CHARSET_NAMES_H_
