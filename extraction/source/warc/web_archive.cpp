#include "extraction/source/warc/web_archive.h"

#include <string>

namespace vantrel::warc {

bool IsWebArchiveName(std::u16string_view name) {
  std::u16string lower;
  for (const char16_t c :
       name.substr(name.size() - std::min<std::size_t>(name.size(), 8))) {
    lower +=
        c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
  }
  const std::u16string_view end = lower;
  return end == u"warc" || end == u"warc.gz" || end.ends_with(u".warc") ||
         end.ends_with(u".warc.gz");
}

}  // namespace vantrel::warc
