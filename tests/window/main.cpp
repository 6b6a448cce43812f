// The window tests' main: widgets need a QApplication, made once before any
// test. Without a display the tests use Qt's offscreen platform, which
// ctest asks for anyway; listing the tests at build time needs it too.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
