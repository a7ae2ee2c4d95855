#include "translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace ui {

bool LoadQtTranslations(QCoreApplication& app) {
  const QStringList folders = {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                               QDir(QCoreApplication::applicationDirPath()).filePath("translations")};
  bool loaded = false;
  for (const char* catalog : {"qtbase_ru", "qtserialport_ru"}) {
    auto* translator = new QTranslator(&app);
    bool found = false;
    for (const QString& folder : folders) {
      if (translator->load(QLatin1String(catalog), folder)) {
        found = true;
        break;
      }
    }
    if (found) {
      QCoreApplication::installTranslator(translator);
      loaded = true;
    } else {
      delete translator;
    }
  }
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
  return loaded;
}

}  // namespace ui
