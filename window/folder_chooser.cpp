#include "window/folder_chooser.h"

#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QStandardPaths>
#include <QStringList>

namespace vantrel::window {

QString ChooserStartFolder() {
  const QString desktop =
      QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
  if (!desktop.isEmpty() && QDir(desktop).exists()) return desktop;
  return QDir::homePath();
}

QString ChooseFolderInDialog(const QString& title) {
  // No parent: the dialog belongs to no window, and QFileDialog's static
  // helpers would make it application-modal, which would lock the main
  // window. A local event loop waits for it instead.
  QFileDialog dialog(nullptr, title, ChooserStartFolder());
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly, true);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setWindowModality(Qt::NonModal);

  QEventLoop wait;
  QObject::connect(&dialog, &QDialog::finished, &wait, &QEventLoop::quit);
  dialog.show();
  wait.exec();

  if (dialog.result() != QDialog::Accepted) return QString();
  const QStringList chosen = dialog.selectedFiles();
  return chosen.isEmpty() ? QString() : chosen.first();
}

}  // namespace vantrel::window
