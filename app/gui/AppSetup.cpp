// AppSetup — application name, German locale and Qt's German translations
// (see AppSetup.h).
#include "app/gui/AppSetup.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace nodalis {

bool UseGermanUi(QCoreApplication& App, const QString& Dir) {
  const QLocale German(QLocale::German, QLocale::Germany);
  QLocale::setDefault(German);
  const QString Folder = Dir.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : Dir;
  auto* Catalogue = new QTranslator(&App);
  // Tries qtbase_de_DE.qm, then qtbase_de.qm.
  if (!Catalogue->load(German, QStringLiteral("qtbase"), QStringLiteral("_"), Folder) ||
      !App.installTranslator(Catalogue)) {
    delete Catalogue;
    return false;
  }
  return true;
}

void SetUpApplication(QCoreApplication& App) {
  App.setApplicationName(QStringLiteral("Nodalis"));
  UseGermanUi(App);
}

}  // namespace nodalis
