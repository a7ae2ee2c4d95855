#include <gtest/gtest.h>

#include <QApplication>

#include "offscreen_screen.h"

int main(int argc, char** argv) {
  // An offscreen screen of a common desktop size, so the pages have the room
  // they are drawn for.
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (platform.isEmpty() || platform == "offscreen") e2e::UseOffscreenScreen("1280", "1024");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
