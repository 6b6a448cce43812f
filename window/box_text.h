// The window's text boxes hold text with CR LF line breaks, as the run reads
// and writes it. Qt's text documents keep paragraphs instead, so text passes
// through these two conversions on its way in and out of a box.
#ifndef VANTREL_WINDOW_BOX_TEXT_H_
#define VANTREL_WINDOW_BOX_TEXT_H_

#include <QString>
#include <string>
#include <string_view>

namespace vantrel::window {

// `text` as a document takes it: CR LF, and a lone CR or LF, become one line
// break. `after_cr` says that the text this continues ended with CR, so that
// a CR LF split between two pieces still makes one break.
QString DocumentText(std::u16string_view text, bool after_cr = false);

// A document's raw text (QTextDocument::toRawText) as the window's text:
// every break that the box shows, between paragraphs or inside one (Shift
// Enter), becomes CR LF. Everything else, no-break spaces included, stays as
// it is.
std::u16string BoxText(const QString& raw);

}  // namespace vantrel::window

#endif  // VANTREL_WINDOW_BOX_TEXT_H_
