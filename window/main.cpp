// vantrel [FOLDER]: the program starts straight into its one window, with
// FOLDER, when given, in the folder field.
#include <QApplication>

#include "vantrel_version.h"
#include "window/form1.h"
#include "window/language.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral(VANTREL_NAME));
  QApplication::setApplicationVersion(QStringLiteral(VANTREL_VERSION_DISPLAY));
  // The id under which desktops group the window with its launcher.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.vantrel.Vantrel"));

  // The window speaks the user's language (LANG) when Vantrel has it.
  const vantrel::window::WindowLanguage language;
  vantrel::window::Form1 form;
  // `vantrel FOLDER`, as a file manager's "Open with" starts it.
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) form.OpenFolder(arguments.at(1));
  form.ShowCentred();
  return QApplication::exec();
}
