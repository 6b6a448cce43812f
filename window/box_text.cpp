#include "window/box_text.h"

namespace vantrel::window {

QString DocumentText(std::u16string_view text, bool after_cr) {
  QString out;
  out.reserve(static_cast<qsizetype>(text.size()));
  for (const char16_t c : text) {
    if (c == u'\n' && after_cr) {
      // The LF of a CR LF whose CR already made the break.
    } else if (c == u'\r' || c == u'\n') {
      out.append(QChar(u'\n'));
    } else {
      out.append(QChar(c));
    }
    after_cr = c == u'\r';
  }
  return out;
}

std::u16string BoxText(const QString& raw) {
  std::u16string out;
  out.reserve(static_cast<std::size_t>(raw.size()));
  for (const QChar c : raw) {
    if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) {
      out.append(u"\r\n");
    } else {
      out.push_back(c.unicode());
    }
  }
  return out;
}

}  // namespace vantrel::window
