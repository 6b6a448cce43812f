#include "window/folder_chooser.h"

#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <array>

namespace vantrel::window {
namespace {

// Qt's file dialog reads its history, last folder and layout from the user's
// "QtProject" settings, which every Qt program shares, and writes them back
// when it goes. Vantrel keeps nothing between starts, so while one of these
// lives, the user's settings are a folder of its own that goes with it.
class ThrowawaySettings {
 public:
  ThrowawaySettings() {
    // Should no folder be possible, the dialog still works, as before.
    if (!folder_.isValid()) return;
    for (std::size_t i = 0; i < kFormats.size(); ++i) {
      // QSettings moves the folder but cannot say where it is; the path of
      // a settings file in it can.
      const QSettings probe(kFormats[i], QSettings::UserScope, "QtProject");
      user_folders_[i] = QFileInfo(probe.fileName()).path();
      QSettings::setPath(kFormats[i], QSettings::UserScope, folder_.path());
    }
  }
  ~ThrowawaySettings() {
    if (!folder_.isValid()) return;
    for (std::size_t i = 0; i < kFormats.size(); ++i) {
      QSettings::setPath(kFormats[i], QSettings::UserScope, user_folders_[i]);
    }
  }
  ThrowawaySettings(const ThrowawaySettings&) = delete;
  ThrowawaySettings& operator=(const ThrowawaySettings&) = delete;

 private:
  static constexpr std::array kFormats{QSettings::NativeFormat,
                                       QSettings::IniFormat};
  QTemporaryDir folder_;
  std::array<QString, kFormats.size()> user_folders_;
};

}  // namespace

QString ChooserStartFolder() {
  const QString desktop =
      QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
  if (!desktop.isEmpty() && QDir(desktop).exists()) return desktop;
  return QDir::homePath();
}

QString ChooseFolderInDialog(const QString& title) {
  // No parent: the dialog belongs to no window. It is application-modal,
  // so that the window takes no input while it is open: a second "..." or
  // a "GO!" on a folder about to change. A local event loop waits for it.
  const ThrowawaySettings settings;  // made before the dialog, gone after it
  QFileDialog dialog(nullptr, title, ChooserStartFolder());
  // Qt's own dialog: a desktop's native one keeps lists of recent files.
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly, true);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setWindowModality(Qt::ApplicationModal);

  QEventLoop wait;
  QObject::connect(&dialog, &QDialog::finished, &wait, &QEventLoop::quit);
  dialog.show();
  wait.exec();

  if (dialog.result() != QDialog::Accepted) return QString();
  const QStringList chosen = dialog.selectedFiles();
  return chosen.isEmpty() ? QString() : chosen.first();
}

}  // namespace vantrel::window
