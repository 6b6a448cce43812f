// vantrel: the program starts straight into its one window.
#include <QApplication>

#include "vantrel_version.h"
#include "window/form1.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral(VANTREL_NAME));
  QApplication::setApplicationVersion(QStringLiteral(VANTREL_VERSION_DISPLAY));
  // The id under which desktops group the window with its launcher.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.vantrel.Vantrel"));

  vantrel::window::Form1 form;
  form.ShowCentred();
  return QApplication::exec();
}
