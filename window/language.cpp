#include "window/language.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QString>

namespace vantrel::window {

WindowLanguage::WindowLanguage(const QLocale& locale) {
  // vantrel_ar.qm serves ar_EG, ar_SA and every other Arabic locale.
  installed_ =
      translator_.load(locale, QStringLiteral("vantrel"), QStringLiteral("_"),
                       QStringLiteral(":/vantrel/translations")) &&
      QCoreApplication::installTranslator(&translator_);
  if (installed_) {
    qt_installed_ = qt_translator_.load(
                        QLocale(translator_.language()),
                        QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
                    QCoreApplication::installTranslator(&qt_translator_);
    QGuiApplication::setLayoutDirection(
        QLocale(translator_.language()).textDirection());
  }
}

WindowLanguage::~WindowLanguage() {
  if (!installed_) return;
  QCoreApplication::removeTranslator(&translator_);
  if (qt_installed_) QCoreApplication::removeTranslator(&qt_translator_);
  QGuiApplication::setLayoutDirection(Qt::LeftToRight);
}

}  // namespace vantrel::window
