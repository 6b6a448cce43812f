// The window's multi-line text boxes. Both kinds show text as lines but give
// it back as the run sees it, every line break as it came.
#ifndef VANTREL_WINDOW_TEXT_BOXES_H_
#define VANTREL_WINDOW_TEXT_BOXES_H_

#include <QPlainTextEdit>
#include <QRect>
#include <optional>
#include <string>
#include <string_view>

class QScrollBar;

namespace vantrel::window {

// A box that the user types in (the start and end markers): multi-line, word
// wrap, a vertical scroll bar. Enter and Shift+Enter type a CR LF; text that
// is set, pasted or dropped keeps its own line breaks (LF, CR LF, a lone CR),
// since a marker must match the page byte for byte. The box shows each of
// them as a line break.
class MarkerBox : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit MarkerBox(QWidget* parent);

  // The text as the run matches it, no-break spaces included.
  std::u16string Text() const;
  // Replaces the text, with no undo step, as setPlainText does.
  void SetText(std::u16string_view text);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // Paste and drop: the plain text, line breaks as they are.
  void insertFromMimeData(const QMimeData* source) override;
  // Copy, cut and drag: the selection as Text() would give it.
  QMimeData* createMimeDataFromSelection() const override;
};

// The start and end marker boxes as a pair. Markers filled in both at once
// (a suggestion) are one edit: one undo in either box, by keys or menu,
// takes them back from both, and one redo brings both back, until either
// box has another edit.
class MarkerPair : public QObject {
  Q_OBJECT

 public:
  MarkerPair(MarkerBox& start, MarkerBox& end, QObject* parent);

  void Fill(std::u16string_view start, std::u16string_view end);

 private:
  void KeepTogether();

  MarkerBox& start_;
  MarkerBox& end_;
  // Each box's undo steps just after the last Fill, and whether the filled
  // markers are in them, while neither box has had another edit since.
  struct Filled {
    int start_steps;
    int end_steps;
    bool applied;
  };
  std::optional<Filled> filled_;
};

// The message log: multi-line, no wrap, both scroll bars, closed to typing.
// It holds exactly the text that was written to it, CR LF included, and is
// only ever emptied or appended to; an append costs the length of what is
// appended, never that of the whole log.
class LogBox : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit LogBox(QWidget* parent);

  const std::u16string& Text() const { return text_; }
  void SetText(std::u16string_view text);
  void Append(std::u16string_view text);
  void Clear();

  // Scrolls down to the last line, which a line added below the view
  // would not do by itself.
  void ScrollToEnd();

  // Repaints at once what changed on screen since the last Redraw: the
  // text area when a changed line is in view, a scroll bar when its slider
  // moved. A line added below the view shows nothing new and costs nothing.
  void Redraw();

 private:
  // What a scroll bar shows: where its slider is, and whether it scrolls.
  struct SliderLook {
    QRect slider;
    bool scrolls = false;
    bool operator==(const SliderLook&) const = default;
  };
  static SliderLook LookOf(const QScrollBar& bar);
  int LastShownLine() const;
  void Changed(int line);

  std::u16string text_;
  // The first line (block) changed since the last Redraw; -1 when none.
  int changed_from_ = -1;
  SliderLook shown_vertical_, shown_horizontal_;
};

}  // namespace vantrel::window

#endif  // VANTREL_WINDOW_TEXT_BOXES_H_
