#include "window/line_control.h"

#include <QAccessible>
#include <QPainter>
#include <QPen>
#include <cmath>

#include "window/twips.h"

namespace vantrel::window {

LineControl::LineControl(QWidget* parent) : QWidget(parent) {
  // A line takes no clicks and paints only its own pixels: what lies under
  // the rest of its box shows through.
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  Relocate();
}

void LineControl::SetEnds(int x1, int y1, int x2, int y2) {
  x1_ = x1;
  y1_ = y1;
  x2_ = x2;
  y2_ = y2;
  Relocate();
}

void LineControl::SetX2(int x2) {
  const std::optional<int> before = Percent();
  x2_ = x2;
  Relocate();
  if (Percent() != before && QAccessible::isActive()) {
    QAccessibleValueChangeEvent change(this, *Percent());
    QAccessible::updateAccessibility(&change);
  }
}

void LineControl::ShowShare(int empty_x2, int full_x2) {
  share_.emplace(empty_x2, full_x2);
}

std::optional<int> LineControl::Percent() const {
  if (!share_ || share_->first == share_->second) return std::nullopt;
  const auto [empty, full] = *share_;
  return static_cast<int>(
      std::lround(100.0 * (x2_ - empty) / static_cast<double>(full - empty)));
}

void LineControl::SetColor(const QColor& color) {
  if (color == color_) return;
  color_ = color;
  stale_ |= geometry();
  update();
}

// Right to left, the line is mirrored across its parent's middle: the
// progress bar grows from the right.
QPoint LineControl::Point(int x, int y) const {
  QPoint point = TwipsPoint(x, y);
  if (isRightToLeft() && parentWidget() != nullptr) {
    point.setX(parentWidget()->width() - point.x());
  }
  return point;
}

bool LineControl::Empty() const { return Point(x1_, y1_) == Point(x2_, y2_); }

void LineControl::Relocate() {
  const QPoint p1 = Point(x1_, y1_);
  const QPoint p2 = Point(x2_, y2_);
  // A line of no length draws nothing, so its box is empty. A level or
  // upright line covers kWidth / 2 pixels either side of its middle; a
  // slanting one reaches further, up to kWidth.
  const bool square = p1.x() == p2.x() || p1.y() == p2.y();
  const int pad = Empty() ? 0 : square ? kWidth / 2 : kWidth;
  const QRect box = QRect(p1, p2).normalized().adjusted(-pad, -pad, pad, pad);
  const QRect wanted = Empty() ? QRect(p1, QSize(0, 0)) : box;
  if (wanted == geometry()) return;
  stale_ |= geometry();
  stale_ |= wanted;
  setGeometry(wanted);
}

void LineControl::Redraw() {
  if (stale_.isEmpty()) return;
  const QRect area = stale_;
  stale_ = QRect();
  if (parentWidget() != nullptr) parentWidget()->repaint(area);
}

void LineControl::paintEvent(QPaintEvent*) {
  // Qt paints the old and the new place of a moved widget together, so
  // whenever the line is painted nothing of it is stale any more.
  stale_ = QRect();
  if (Empty()) return;
  QPainter painter(this);
  painter.setPen(QPen(color_, kWidth, Qt::SolidLine, Qt::FlatCap));
  const QPoint origin = pos();
  painter.drawLine(Point(x1_, y1_) - origin, Point(x2_, y2_) - origin);
}

}  // namespace vantrel::window
