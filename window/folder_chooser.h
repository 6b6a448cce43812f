// The folder chooser behind the "..." button.
#ifndef VANTREL_WINDOW_FOLDER_CHOOSER_H_
#define VANTREL_WINDOW_FOLDER_CHOOSER_H_

#include <QString>
#include <functional>

namespace vantrel::window {

// Asks the user for a folder under the given title; gives back the folder's
// full path, or empty text when the user cancelled.
using FolderChooser = std::function<QString(const QString& title)>;

// Qt's directory chooser: folders only, opening at the desktop folder (the
// home folder where there is none) with nothing selected. It has no owner
// window and is application-modal: the main window takes no input while it
// is open, but still repaints; the call returns when it is closed.
QString ChooseFolderInDialog(const QString& title);

// Where the chooser opens: the desktop folder, or the home folder when there
// is no desktop folder.
QString ChooserStartFolder();

}  // namespace vantrel::window

#endif  // VANTREL_WINDOW_FOLDER_CHOOSER_H_
