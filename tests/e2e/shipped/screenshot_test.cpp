// zelt --demo --screenshot-pages: the program reads the simulated device and
// saves one picture per tree node.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

namespace {

TEST(ScreenshotPages, OnePictureOfEveryPageAfterTheRead) {
  QTemporaryDir folder;
  QProcess zelt;
  zelt.setWorkingDirectory(folder.path());
  // The tests' offscreen screen is described in a file of the tests' folder,
  // which zelt, working in another, would not find: it gets the plain plugin.
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  zelt.setProcessEnvironment(environment);
  zelt.start(QStringLiteral(ZELT_PROGRAM),
             {QStringLiteral("--demo"), QStringLiteral("--screenshot-pages"), folder.filePath("pages")});
  ASSERT_TRUE(zelt.waitForFinished(90000)) << zelt.readAllStandardError().toStdString();
  EXPECT_EQ(zelt.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(zelt.exitCode(), 0) << zelt.readAllStandardError().toStdString();

  const QStringList files = QDir(folder.filePath("pages")).entryList({"*.png"}, QDir::Files, QDir::Name);
  ASSERT_EQ(files.size(), 7) << files.join(' ').toStdString();  // the shipped tree's nodes
  EXPECT_EQ(files.first(), QStringLiteral("page-01.png"));
  std::vector<QImage> pictures;
  for (const QString& file : files) {
    pictures.emplace_back(folder.filePath("pages/" + file));
    ASSERT_FALSE(pictures.back().isNull()) << file.toStdString();
    EXPECT_EQ(pictures.back().size(), pictures.front().size());
  }
  // Every page looks different from the one before it.
  for (size_t k = 1; k < pictures.size(); ++k) EXPECT_NE(pictures[k], pictures[k - 1]) << k;
}

}  // namespace
