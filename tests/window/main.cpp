// The window tests' main: widgets need a QApplication, made once before any
// test. Without a display the tests use Qt's offscreen platform, which
// ctest asks for anyway; listing the tests at build time needs it too.
// Qt's file dialog keeps settings that Qt writes when the application ends,
// so they go to a folder of the tests' own that outlives the application.
#include <gtest/gtest.h>

#include <QApplication>

#include "tests/support/temp_folder.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  const vantrel::testing::TempFolder config;
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.path()));
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
