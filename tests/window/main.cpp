// The window tests' main: widgets need a QApplication, made once before any
// test. Without a display the tests use Qt's offscreen platform, which
// ctest asks for anyway.
// CMake lists the tests right after linking, in the builder's environment;
// that needs no Qt at all, so no QApplication is made and Qt has nothing to
// warn about in the build log.
// Qt's file dialog keeps settings that Qt writes when the application ends,
// so they go to a folder of the tests' own that outlives the application;
// where no runtime folder is set (as root, often), Qt gets one of the
// tests' own too rather than warning and making one under /tmp.
#include <gtest/gtest.h>

#include <QApplication>
#include <optional>

#include "tests/support/temp_folder.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) {
    return RUN_ALL_TESTS();
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  const vantrel::testing::TempFolder config;
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.path()));
  std::optional<vantrel::testing::TempFolder> runtime;
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    qputenv("XDG_RUNTIME_DIR",
            QByteArray::fromStdString(runtime.emplace().path()));
  }
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
