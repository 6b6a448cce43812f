// Helpers for the window tests: Form1's controls by name, a run waited for,
// the window shown and active, paint counts, and what the progress bar shows on
// screen.
#ifndef VANTREL_TESTS_WINDOW_WINDOW_TESTING_H_
#define VANTREL_TESTS_WINDOW_WINDOW_TESTING_H_

#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QtTest/QTest>
#include <stdexcept>

#include "window/form1.h"

namespace vantrel::window::testing {

// The control of that objectName and type; fails the test when missing.
template <typename T = QWidget>
T& Control(QWidget& form, const char* name) {
  T* control = form.findChild<T*>(QString::fromLatin1(name));
  if (control == nullptr) throw std::runtime_error(name);
  return *control;
}

inline void ShowAndActivate(QWidget& form) {
  form.show();
  QApplication::setActiveWindow(&form);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
}

// Waits until the form shows the end of the run that "GO!" started, if
// any; false when it did not end within ten seconds.
inline bool WaitForRun(Form1& form) {
  return QTest::qWaitFor([&] { return !form.Running(); }, 10000);
}

// Clicks "GO!" and waits for the run's end.
inline bool ClickGoAndWait(Form1& form) {
  QTest::mouseClick(&Control(form, "Command2"), Qt::LeftButton);
  return WaitForRun(form);
}

// Counts the paint events that reach the widgets it is installed on.
struct PaintCounter : QObject {
  int count = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count;
    return false;
  }
};

// Where the blue drawn along the bar's middle row (y 475, track from x 9 to
// 227) ends, exclusive; 0 when there is none. The rest must be grey track.
inline int BlueBarEnd(QWidget& form) {
  const QImage image = form.grab().toImage();
  int end = 0;
  for (int x = 9; x < 227; ++x) {
    const QRgb pixel = image.pixel(x, 475) & 0xFFFFFF;
    if (pixel == 0x8080FF && end == (x == 9 ? 0 : x)) {
      end = x + 1;
    } else {
      EXPECT_EQ(pixel, 0xC0C0C0u) << "not grey track at x = " << x;
    }
  }
  return end;
}

}  // namespace vantrel::window::testing

#endif  // VANTREL_TESTS_WINDOW_WINDOW_TESTING_H_
