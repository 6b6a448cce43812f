// vantrel-window-bench: one run through the window, timed from the click on
// "GO!" to its end, for vantrel-bench to set beside vantrel-cli.
//
// The window is shown (on Qt's offscreen platform unless another is set), so
// that the repaints of a run, once a frame, are really painted. The seconds
// from the click to the run's end shown go into RESULT; the run's output is
// left in FOLDER.
//
// With --log-paints it prints instead how often the log box is painted while
// lines are appended below its view: a line out of view should cost no
// paint of the text, and none of the scroll bar once its slider is smallest.
// With --bar-paints it prints how often the bar is painted while it moves
// through 500 pieces, beside how often its end reaches a new pixel: a step
// smaller than a pixel should cost no paint.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "window/bar_position.h"
#include "window/form1.h"
#include "window/text_boxes.h"
#include "window/twips.h"

namespace {

// Counts the paint events of the widgets it is installed on.
struct PaintCounter : QObject {
  int count = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    count += event->type() == QEvent::Paint;
    return false;
  }
};

// Appends `lines` lines to a log box of the window's size, each redrawn as
// a run redraws it, and prints the paints of its text and scroll bar.
int PrintLogPaints(int lines) {
  QWidget parent;
  parent.resize(240, 130);
  vantrel::window::LogBox log(&parent);
  log.setGeometry(8, 8, 225, 113);
  parent.show();
  QApplication::processEvents();
  PaintCounter text, slider;
  log.viewport()->installEventFilter(&text);
  log.verticalScrollBar()->installEventFilter(&slider);
  for (int i = 0; i < lines; ++i) {
    log.Append(u"Haven't start: page.htm\r\n");
    log.Redraw();
  }
  std::printf("%d lines appended: text painted %d times, scroll bar %d\n",
              lines, text.count, slider.count);
  return 0;
}

// Moves the bar of a shown window as a run moves it after each of `pieces`
// pieces, and prints how often it is painted and how often its end reaches
// a new pixel.
int PrintBarPaints(int pieces) {
  vantrel::window::Form1 form;
  form.ShowCentred();
  QApplication::processEvents();
  PaintCounter bar;
  form.findChild<QWidget*>(QStringLiteral("Line2"))->installEventFilter(&bar);
  int new_pixels = 0;
  int end = vantrel::window::TwipsToPixels(vantrel::window::kBarLeft);
  for (int done = 1; done <= pieces; ++done) {
    const int pixel =
        vantrel::window::TwipsToPixels(vantrel::window::BarX2(done, pieces));
    new_pixels += pixel != end;
    end = pixel;
    form.PieceWritten(done, pieces);
  }
  std::printf(
      "%d pieces written: bar painted %d times, its end reached a "
      "new pixel %d times\n",
      pieces, bar.count, new_pixels);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const bool log_paints =
      argc == 2 && std::strcmp(argv[1], "--log-paints") == 0;
  const bool bar_paints =
      argc == 2 && std::strcmp(argv[1], "--bar-paints") == 0;
  if (argc != 3 && !log_paints && !bar_paints) {
    std::fprintf(stderr,
                 "usage: vantrel-window-bench FOLDER RESULT | --log-paints | "
                 "--bar-paints\n");
    return 64;
  }
  ::setenv("QT_QPA_PLATFORM", "offscreen", /*overwrite=*/0);
  QApplication app(argc, argv);
  if (log_paints) return PrintLogPaints(1000);
  if (bar_paints) return PrintBarPaints(500);
  vantrel::window::Form1 form;
  form.ShowCentred();
  QApplication::processEvents();

  auto* folder = form.findChild<QLineEdit*>(QStringLiteral("Text3"));
  auto* go = form.findChild<QPushButton*>(QStringLiteral("Command2"));
  if (folder == nullptr || go == nullptr) {
    std::fprintf(stderr, "vantrel-window-bench: no Text3 or Command2\n");
    return 70;
  }
  folder->setText(QString::fromLocal8Bit(argv[1]));
  // The run goes on a worker thread; its end is shown from the event loop.
  QObject::connect(&form, &vantrel::window::Form1::RunEnded, &app,
                   &QApplication::quit, Qt::QueuedConnection);
  const auto start = std::chrono::steady_clock::now();
  go->click();
  if (form.Running()) app.exec();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
          .count();

  std::FILE* result = std::fopen(argv[2], "w");
  if (result == nullptr) return 70;
  std::fprintf(result, "%.6f\n", seconds);
  return std::fclose(result) == 0 ? 0 : 70;
}
