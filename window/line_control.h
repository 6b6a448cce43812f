// A line control: a straight line between two end points given in twips on
// its parent, drawn 5 pixels wide in one colour. The progress bar is two of
// them, a grey track and the blue bar over it, whose right end X2 moves.
// Right to left, the line is drawn mirrored, so that the bar grows from the
// right.
#ifndef VANTREL_WINDOW_LINE_CONTROL_H_
#define VANTREL_WINDOW_LINE_CONTROL_H_

#include <QColor>
#include <QRect>
#include <QWidget>
#include <optional>
#include <utility>

namespace vantrel::window {

class LineControl : public QWidget {
  Q_OBJECT

 public:
  // The line's width in pixels.
  static constexpr int kWidth = 5;

  explicit LineControl(QWidget* parent);

  // The end points, in twips.
  void SetEnds(int x1, int y1, int x2, int y2);
  void SetX2(int x2);
  int X2() const { return x2_; }

  void SetColor(const QColor& color);

  // The line stands for a share, from none when X2 is `empty_x2` to all
  // when it is `full_x2` (in twips): assistive technology reads it as a
  // progress bar (window/accessibility.h).
  void ShowShare(int empty_x2, int full_x2);
  // The share X2 shows, in whole percent; nothing for a line that stands
  // for none.
  std::optional<int> Percent() const;

  // Repaints at once what changed on screen since the last Redraw (where
  // the line was and where it is now); does nothing when nothing did.
  void Redraw();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // The widget covers the line's pixels and no more, so that it hides as
  // little as possible of what lies under it.
  void Relocate();
  bool Empty() const;
  // An end point in pixels on the parent.
  QPoint Point(int x, int y) const;

  int x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
  QColor color_{Qt::black};
  std::optional<std::pair<int, int>> share_;  // empty and full X2
  // The parent's area whose look changed since the last Redraw.
  QRect stale_;
};

}  // namespace vantrel::window

#endif  // VANTREL_WINDOW_LINE_CONTROL_H_
