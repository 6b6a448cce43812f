// Form1's drag and drop: a local folder or file dropped anywhere on the
// window, the one-line fields included (which would otherwise take a
// dropped path as typed text), fills the folder field as OpenFolder does;
// nothing is taken while a run goes on.
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

#include "window/form1.h"

namespace vantrel::window {
namespace {

// The local file or folder that a drop carries, or "" when it carries
// none (text, a web address).
QString DroppedPath(const QMimeData& data) {
  if (!data.hasUrls() || data.urls().isEmpty()) return {};
  const QUrl& url = data.urls().front();
  return url.isLocalFile() ? url.toLocalFile() : QString();
}

}  // namespace

bool Form1::TakeFieldDrop(QEvent& event) {
  if (event.type() != QEvent::DragEnter && event.type() != QEvent::Drop) {
    return false;
  }
  auto& drop = static_cast<QDropEvent&>(event);
  if (DroppedPath(*drop.mimeData()).isEmpty()) return false;
  if (event.type() == QEvent::DragEnter) {
    dragEnterEvent(static_cast<QDragEnterEvent*>(&drop));
  } else {
    dropEvent(&drop);
  }
  return true;
}

void Form1::dragEnterEvent(QDragEnterEvent* event) {
  if (!Running() && !DroppedPath(*event->mimeData()).isEmpty()) {
    event->acceptProposedAction();
  }
}

void Form1::dropEvent(QDropEvent* event) {
  const QString path = DroppedPath(*event->mimeData());
  if (Running() || path.isEmpty()) return;
  OpenFolder(path);
  event->acceptProposedAction();
}

void Form1::OpenFolder(const QString& path) {
  const QFileInfo info(path);
  const QString folder = info.exists() && !info.isDir()
                             ? info.absolutePath()
                             : QDir::cleanPath(info.absoluteFilePath());
  Text3_->setText(QDir::toNativeSeparators(folder));
}

}  // namespace vantrel::window
