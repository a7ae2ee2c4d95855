#include <gtest/gtest.h>

#include <QApplication>

#include "offscreen_screen.h"
#include "translations.h"

// The offscreen screen takes the size in ZELT_TEST_SCREEN ("1366x768"), so the
// same tests run on each screen size the window must serve.
int main(int argc, char** argv) {
  const QByteArray size = qgetenv("ZELT_TEST_SCREEN").isEmpty() ? "1366x768" : qgetenv("ZELT_TEST_SCREEN");
  const QList<QByteArray> wh = size.split('x');
  if (wh.size() == 2) {
    e2e::UseOffscreenScreen(wh[0], wh[1]);
  } else {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  ui::LoadQtTranslations(app);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
