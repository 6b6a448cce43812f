#include "window/box_text.h"

#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QVariant>
#include <algorithm>

namespace vantrel::window {
namespace {

// On a line separator that InsertBoxText made: the text it stands for. A
// format property, so that undo, redo and cut and paste keep it with the
// character.
constexpr int kLineBreakText = QTextFormat::UserProperty;

// Whether the document would turn text[i] into a paragraph end, which could
// only give CR LF back. CR LF itself is left to become one.
bool KeptAsLineSeparator(std::u16string_view text, std::size_t i) {
  switch (text[i]) {
    case u'\r':
      return i + 1 == text.size() || text[i + 1] != u'\n';
    case u'\n':
      return i == 0 || text[i - 1] != u'\r';
    case u'\u2028':  // QChar::LineSeparator, which the box shows as it is
    case u'\u2029':  // QChar::ParagraphSeparator
    case u'\uFDD0':  // where Qt's documents mark a frame's start
    case u'\uFDD1':  // and end
      return true;
    default:
      return false;
  }
}

void InsertLineSeparator(QTextCursor& cursor, QTextCharFormat format,
                         const QString& stands_for) {
  format.setProperty(kLineBreakText, stands_for);
  cursor.insertText(QString(QChar::LineSeparator), format);
}

}  // namespace

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

void InsertBoxText(QTextCursor& cursor, std::u16string_view text) {
  if (text.empty()) return;
  // The text takes the format at the cursor, as Qt's own paste does, but not
  // what a line separator there stands for.
  QTextCharFormat format = cursor.charFormat();
  format.clearProperty(kLineBreakText);
  cursor.beginEditBlock();
  std::size_t run = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!KeptAsLineSeparator(text, i)) continue;
    cursor.insertText(QString::fromUtf16(text.data() + run, i - run), format);
    InsertLineSeparator(cursor, format, QString(QChar(text[i])));
    run = i + 1;
  }
  cursor.insertText(QString::fromUtf16(text.data() + run, text.size() - run),
                    format);
  cursor.endEditBlock();
}

void InsertTypedLineSeparator(QTextCursor& cursor) {
  InsertLineSeparator(cursor, cursor.charFormat(), QStringLiteral("\r\n"));
}

std::u16string BoxText(const QTextDocument& document, int from, int to) {
  std::u16string out;
  for (QTextBlock block = document.findBlock(from);
       block.isValid() && block.position() < to; block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const int begin = std::max(from, fragment.position());
      const int end = std::min(to, fragment.position() + fragment.length());
      if (begin >= end) continue;
      const QVariant stands_for =
          fragment.charFormat().property(kLineBreakText);
      const std::u16string line_break =
          stands_for.isValid() ? stands_for.toString().toStdU16String()
                               : u"\r\n";
      for (const QChar c :
           fragment.text().mid(begin - fragment.position(), end - begin)) {
        if (c == QChar::LineSeparator) {
          out += line_break;
        } else {
          out.push_back(c.unicode());
        }
      }
    }
    // The paragraph's end, unless it is the document's.
    const int paragraph_end = block.position() + block.length() - 1;
    if (block.next().isValid() && paragraph_end >= from && paragraph_end < to) {
      out += u"\r\n";
    }
  }
  return out;
}

}  // namespace vantrel::window
