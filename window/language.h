// The window's language: the translation of its texts for a locale, when
// Vantrel has one (built in from window/translations/), and the direction
// the window reads in, right to left for Arabic. Without a translation the
// window speaks English, its texts' own language, left to right.
#ifndef VANTREL_WINDOW_LANGUAGE_H_
#define VANTREL_WINDOW_LANGUAGE_H_

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace vantrel::window {

class WindowLanguage {
 public:
  // Installs the translation for `locale` (the user's, from LANG, by
  // default) before the window is made; the window takes the direction.
  explicit WindowLanguage(const QLocale& locale = QLocale());
  // Back to English, left to right.
  ~WindowLanguage();
  WindowLanguage(const WindowLanguage&) = delete;
  WindowLanguage& operator=(const WindowLanguage&) = delete;

  bool Translated() const { return installed_; }

 private:
  QTranslator translator_;
  // Qt's own texts in the same language (the text boxes' context menus),
  // from Debian's qt6-translations-l10n when it is installed.
  QTranslator qt_translator_;
  bool installed_ = false;
  bool qt_installed_ = false;
};

}  // namespace vantrel::window

#endif  // VANTREL_WINDOW_LANGUAGE_H_
