#include "window/text_boxes.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QMimeData>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <utility>

#include "window/box_text.h"

namespace vantrel::window {
namespace {

// The space between a box's frame and its text, in pixels; Qt's usual 4
// would cost the small boxes a good part of a line.
constexpr int kTextMargin = 1;

}  // namespace

MarkerBox::MarkerBox(QWidget* parent) : QPlainTextEdit(parent) {
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // Tab moves on to the next field, as in the window's one-line fields.
  setTabChangesFocus(true);
  document()->setDocumentMargin(kTextMargin);
}

std::u16string MarkerBox::Text() const {
  return BoxText(*document(), 0, document()->characterCount());
}

void MarkerBox::SetText(std::u16string_view text) {
  clear();
  const bool undo = document()->isUndoRedoEnabled();
  document()->setUndoRedoEnabled(false);
  QTextCursor cursor(document());
  InsertBoxText(cursor, text);
  document()->setUndoRedoEnabled(undo);
  // The cursor followed the inserted text; setPlainText leaves it in front.
  moveCursor(QTextCursor::Start);
}

void MarkerBox::keyPressEvent(QKeyEvent* event) {
  // Qt's own Shift+Enter would take the format before the cursor, and with
  // it what a pasted line break there stands for.
  if (event->matches(QKeySequence::InsertLineSeparator) && !isReadOnly()) {
    QTextCursor cursor = textCursor();
    InsertTypedLineSeparator(cursor);
    setTextCursor(cursor);
    event->accept();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void MarkerBox::insertFromMimeData(const QMimeData* source) {
  if (isReadOnly() || source == nullptr || !source->hasText()) return;
  QTextCursor cursor = textCursor();
  InsertBoxText(cursor, source->text().toStdU16String());
  setTextCursor(cursor);
}

QMimeData* MarkerBox::createMimeDataFromSelection() const {
  const QTextCursor cursor = textCursor();
  auto* data = new QMimeData;
  data->setText(QString::fromStdU16String(
      BoxText(*document(), cursor.selectionStart(), cursor.selectionEnd())));
  return data;
}

MarkerPair::MarkerPair(MarkerBox& start, MarkerBox& end, QObject* parent)
    : QObject(parent), start_(start), end_(end) {
  for (MarkerBox* box : {&start_, &end_}) {
    // Any other edit ends the shared undo.
    connect(box->document(), &QTextDocument::undoCommandAdded, this,
            [this] { filled_.reset(); });
    connect(box->document(), &QTextDocument::contentsChanged, this,
            &MarkerPair::KeepTogether);
  }
}

// Each box takes its marker as one edit of its own; KeepTogether makes the
// two one step.
void MarkerPair::Fill(std::u16string_view start, std::u16string_view end) {
  for (const auto& [box, text] : {std::pair{&start_, start}, {&end_, end}}) {
    QTextCursor cursor(box->document());
    cursor.select(QTextCursor::Document);
    InsertBoxText(cursor, text);
  }
  filled_ = Filled{start_.document()->availableUndoSteps(),
                   end_.document()->availableUndoSteps(), true};
}

// An undo of the filled markers in one box undoes them in the other, and a
// redo redoes them, whichever box and whichever way (keys, menu) it came.
void MarkerPair::KeepTogether() {
  if (!filled_) return;
  Filled& filled = *filled_;
  const bool start_in =
      start_.document()->availableUndoSteps() == filled.start_steps;
  const bool end_in = end_.document()->availableUndoSteps() == filled.end_steps;
  if (filled.applied && start_in != end_in) {
    filled.applied = false;
    start_in ? start_.undo() : end_.undo();
  } else if (!filled.applied && start_in != end_in) {
    filled.applied = true;
    start_in ? end_.redo() : start_.redo();
  }
}

LogBox::LogBox(QWidget* parent) : QPlainTextEdit(parent) {
  setReadOnly(true);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setTabChangesFocus(true);
  // Nobody can undo an append, and the history would only grow with the log.
  setUndoRedoEnabled(false);
  document()->setDocumentMargin(kTextMargin);
}

void LogBox::SetText(std::u16string_view text) {
  text_ = text;
  setPlainText(DocumentText(text));
  Changed(0);
}

void LogBox::Append(std::u16string_view text) {
  if (text.empty()) return;
  const bool after_cr = !text_.empty() && text_.back() == u'\r';
  text_.append(text);
  // The text goes on from the last line, which it changes.
  Changed(document()->blockCount() - 1);
  // A cursor of its own, so the view stays where the reader left it.
  QTextCursor end(document());
  end.movePosition(QTextCursor::End);
  end.insertText(DocumentText(text, after_cr));
}

void LogBox::Clear() {
  text_.clear();
  clear();
  Changed(0);
}

void LogBox::ScrollToEnd() {
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void LogBox::Changed(int line) {
  changed_from_ = changed_from_ < 0 ? line : std::min(changed_from_, line);
}

void LogBox::Redraw() {
  if (changed_from_ >= 0 && changed_from_ <= LastShownLine()) {
    viewport()->repaint();
  }
  changed_from_ = -1;
  for (auto [bar, shown] :
       {std::pair{verticalScrollBar(), &shown_vertical_},
        std::pair{horizontalScrollBar(), &shown_horizontal_}}) {
    const SliderLook look = LookOf(*bar);
    if (look == *shown) continue;
    *shown = look;
    bar->repaint();
  }
}

int LogBox::LastShownLine() const {
  QTextBlock block = firstVisibleBlock();
  qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
  int last = block.blockNumber();
  for (; block.isValid() && top < viewport()->height(); block = block.next()) {
    last = block.blockNumber();
    top += blockBoundingRect(block).height();
  }
  return last;
}

LogBox::SliderLook LogBox::LookOf(const QScrollBar& bar) {
  // What QScrollBar itself hands the style when it paints.
  QStyleOptionSlider option;
  option.initFrom(&bar);
  option.orientation = bar.orientation();
  if (bar.orientation() == Qt::Horizontal) {
    option.state |= QStyle::State_Horizontal;
  }
  option.minimum = bar.minimum();
  option.maximum = bar.maximum();
  option.sliderPosition = bar.sliderPosition();
  option.sliderValue = bar.value();
  option.singleStep = bar.singleStep();
  option.pageStep = bar.pageStep();
  option.upsideDown = bar.invertedAppearance();
  return {bar.style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                      QStyle::SC_ScrollBarSlider, &bar),
          bar.maximum() > bar.minimum()};
}

}  // namespace vantrel::window
