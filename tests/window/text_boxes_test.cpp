// The text boxes: what the run reads from the marker boxes and what the log
// box holds and shows.
#include "window/text_boxes.h"

#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QLabel>
#include <QTextBlock>
#include <QTextLayout>
#include <vector>

#include "tests/window/window_testing.h"
#include "window/form1.h"

namespace vantrel::window {
namespace {

using testing::Control;

// Pastes through the clipboard, as Ctrl+V does.
void Paste(MarkerBox& box, const QString& text) {
  QApplication::clipboard()->setText(text);
  box.paste();
}

// How many lines the box shows its text on.
int ShownLineCount(const MarkerBox& box) {
  int lines = 0;
  for (QTextBlock b = box.document()->begin(); b.isValid(); b = b.next()) {
    box.document()->documentLayout()->blockBoundingRect(b);  // lays it out
    lines += b.layout()->lineCount();
  }
  return lines;
}

TEST(WindowTextBoxes, TypedBreaksReachTheRunAsCrLf) {
  Form1 form;
  testing::ShowAndActivate(form);
  for (const char* name : {"Text1", "Text2"}) {
    auto& box = Control<MarkerBox>(form, name);
    const std::u16string before = box.Text();
    QTest::keyClick(&box, Qt::Key_End, Qt::ControlModifier);
    // Enter and Shift+Enter type CR LF, even right after a pasted LF.
    Paste(box, "a\n");
    QTest::keyClick(&box, Qt::Key_Return);
    Paste(box, "\n");
    QTest::keyClick(&box, Qt::Key_Return, Qt::ShiftModifier);
    // A no-break space, common in saved pages, stays one.
    QTest::keyClicks(&box, QString::fromUtf16(u"b\u00A0c"));
    EXPECT_EQ(box.Text(), before + u"a\n\r\n\n\r\nb\u00A0c") << name;
  }
  EXPECT_EQ(form.Text2(), Control<MarkerBox>(form, "Text2").Text());
  // Enter in a marker box types; it runs nothing.
  EXPECT_EQ(Control<QLabel>(form, "Label6").text(), "");
}

// Pages saved on Linux break lines with LF, so a marker must keep them.
TEST(WindowTextBoxes, MarkersKeepLineBreaksAsTheyCame) {
  Form1 form;
  auto& box = Control<MarkerBox>(form, "Text1");
  const struct {
    std::u16string text;
    int lines;  // as the box shows it
  } cases[] = {{u"<p>\n", 2},
               {u"<p>\r\n", 2},
               {u"a\rb", 2},
               {u"a\nb\r\nc\rd\n\re\r\r\n", 8},
               {u"\u2028\u2029 \u00A0", 3}};
  for (const auto& [text, lines] : cases) {
    const QString qtext = QString::fromStdU16String(text);
    SCOPED_TRACE(qtext.toStdString());
    box.SetText(text);
    EXPECT_EQ(box.Text(), text);
    EXPECT_EQ(ShownLineCount(box), lines);
    // Copied out and pasted back over a selection.
    QApplication::clipboard()->clear();
    box.selectAll();
    box.copy();
    EXPECT_EQ(QApplication::clipboard()->text(), qtext);
    box.SetText(u"x\ny");
    box.selectAll();
    box.paste();
    EXPECT_EQ(box.Text(), text);
    EXPECT_EQ(ShownLineCount(box), lines);
    box.undo();
    EXPECT_EQ(box.Text(), u"x\ny");
    box.redo();
    EXPECT_EQ(box.Text(), text);
    // Pasted inside a line, keeping what is around it.
    box.SetText(u"[]");
    box.moveCursor(QTextCursor::NextCharacter);
    Paste(box, qtext);
    EXPECT_EQ(box.Text(), u"[" + text + u"]");
  }
}

std::vector<QString> ShownLines(const QPlainTextEdit& box) {
  std::vector<QString> lines;
  for (QTextBlock b = box.document()->begin(); b.isValid(); b = b.next()) {
    lines.push_back(b.text());
  }
  return lines;
}

TEST(WindowTextBoxes, LogHoldsExactlyWhatWasWrittenAndShowsLines) {
  QWidget parent;
  LogBox log(&parent);
  log.Append(u"a\r");  // a CR LF split between two appends
  log.Append(u"\nb\r\nc\nd");
  EXPECT_EQ(log.Text(), u"a\r\nb\r\nc\nd");
  EXPECT_EQ(ShownLines(log), (std::vector<QString>{"a", "b", "c", "d"}));
  log.Clear();
  log.Append(u"Haven't end: e.htm\r\n");
  EXPECT_EQ(log.Text(), u"Haven't end: e.htm\r\n");
  EXPECT_EQ(ShownLines(log), (std::vector<QString>{"Haven't end: e.htm", ""}));
}

}  // namespace
}  // namespace vantrel::window
