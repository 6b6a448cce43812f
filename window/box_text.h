// The window's text boxes hold text as the run reads and writes it, every
// line break as it came. Qt's text documents keep paragraphs instead, so
// text passes through these conversions on its way in and out of a box.
#ifndef VANTREL_WINDOW_BOX_TEXT_H_
#define VANTREL_WINDOW_BOX_TEXT_H_

#include <QString>
#include <string>
#include <string_view>

class QTextCursor;
class QTextDocument;

namespace vantrel::window {

// `text` as a document takes it: CR LF, and a lone CR or LF, become one line
// break. `after_cr` says that the text this continues ended with CR, so that
// a CR LF split between two pieces still makes one break.
QString DocumentText(std::u16string_view text, bool after_cr = false);

// Replaces the cursor's selection with `text`, in one undo step, so that
// BoxText gives it back exactly. CR LF ends a paragraph, as Enter does; any
// other character that a document would show as a line break (LF, a lone CR,
// U+2028, U+2029) becomes a line separator that remembers what it was.
void InsertBoxText(QTextCursor& cursor, std::u16string_view text);

// Replaces the cursor's selection with a line separator that stands for
// CR LF, as Shift+Enter types one, whatever break stands before it.
void InsertTypedLineSeparator(QTextCursor& cursor);

// The document's text from one position to another, as InsertBoxText took
// it: a paragraph end or a typed line separator gives CR LF, any other line
// separator what it stands for. Everything else, no-break spaces included,
// stays as it is.
std::u16string BoxText(const QTextDocument& document, int from, int to);

}  // namespace vantrel::window

#endif  // VANTREL_WINDOW_BOX_TEXT_H_
