// The zelt program itself: --screenshot of a page built by Setup.KVS.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

int RunZelt(const QString& folder, const QStringList& args) {
  QProcess zelt;
  zelt.setWorkingDirectory(folder);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  zelt.setProcessEnvironment(env);
  zelt.start(ZELT_PROGRAM, args);
  if (!zelt.waitForFinished(30000)) {
    zelt.kill();
    return -1;
  }
  return zelt.exitStatus() == QProcess::NormalExit ? zelt.exitCode() : -1;
}

TEST(Program, ScreenshotShowsTheDemoPage) {
  QTemporaryDir dir;
  ASSERT_TRUE(QFile::copy(DEMO_DIR "/Setup.KVS", dir.filePath("Setup.KVS")));
  const QString shot = dir.filePath("shot.png");
  ASSERT_EQ(RunZelt(dir.path(), {"--screenshot", shot, "--screenshot-delay", "50"}), 0);
  QImage image(shot);
  ASSERT_FALSE(image.isNull());
  EXPECT_GE(image.width(), 500);
  // The level bar START drew is in the picture.
  int blue = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) blue += image.pixel(x, y) == qRgb(0, 0, 255);
  }
  EXPECT_GT(blue, 50);
}

TEST(Program, UnwritableScreenshotFails) {
  QTemporaryDir dir;
  EXPECT_EQ(RunZelt(dir.path(), {"--screenshot", dir.filePath("no/such/dir/shot.png"),
                                 "--screenshot-delay", "0"}),
            1);
}

}  // namespace
