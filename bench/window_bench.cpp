// vantrel-window-bench: one run through the window, timed from the click on
// "GO!" to its end, for vantrel-bench to set beside vantrel-cli.
//
// The window is shown (on Qt's offscreen platform unless another is set), so
// that the repaints a run asks for after each piece are really painted. The
// seconds of the run go into RESULT; the run's output is left in FOLDER.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "window/form1.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: vantrel-window-bench FOLDER RESULT\n");
    return 64;
  }
  ::setenv("QT_QPA_PLATFORM", "offscreen", /*overwrite=*/0);
  QApplication app(argc, argv);
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
  const auto start = std::chrono::steady_clock::now();
  go->click();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
          .count();

  std::FILE* result = std::fopen(argv[2], "w");
  if (result == nullptr) return 70;
  std::fprintf(result, "%.6f\n", seconds);
  return std::fclose(result) == 0 ? 0 : 70;
}
