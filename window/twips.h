// Places on the window are laid out in twips, 1/1440 inch. At 96 dots per
// inch 15 twips make one pixel; the window uses Qt's logical pixels for those,
// so the layout keeps its proportions on screens that Qt scales.
#ifndef VANTREL_WINDOW_TWIPS_H_
#define VANTREL_WINDOW_TWIPS_H_

#include <QPoint>
#include <QRect>
#include <cmath>

namespace vantrel::window {

inline constexpr int kTwipsPerPixel = 15;

// Twips to whole pixels, to the nearest one.
inline int TwipsToPixels(int twips) {
  return static_cast<int>(
      std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

// A box given in twips, each figure rounded to whole pixels on its own.
inline QRect TwipsRect(int left, int top, int width, int height) {
  return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
               TwipsToPixels(height));
}

inline QPoint TwipsPoint(int x, int y) {
  return QPoint(TwipsToPixels(x), TwipsToPixels(y));
}

}  // namespace vantrel::window

#endif  // VANTREL_WINDOW_TWIPS_H_
