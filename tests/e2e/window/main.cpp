#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>

#include "translations.h"

// The offscreen screen takes the size in ZELT_TEST_SCREEN ("1366x768"), so the
// same tests run on each screen size the window must serve.
int main(int argc, char** argv) {
  const QByteArray size = qgetenv("ZELT_TEST_SCREEN").isEmpty() ? "1366x768" : qgetenv("ZELT_TEST_SCREEN");
  const QList<QByteArray> wh = size.split('x');
  const QString config = QDir::temp().filePath("zelt-window-e2e-" + QString::fromLatin1(size) + ".json");
  QFile file(config);
  if (wh.size() == 2 && file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    file.write(R"({"screens":[{"name":"s","x":0,"y":0,"width":)" + wh[0] + R"(,"height":)" + wh[1] +
               R"(,"logicalDpi":96}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toLocal8Bit());
  } else {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  ui::LoadQtTranslations(app);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
