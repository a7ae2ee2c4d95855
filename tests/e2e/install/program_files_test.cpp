// Where the program looks for Setup.KVS and where it works, over real
// folders.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "program.h"
#include "program_files.h"

namespace {

using zelt::ChooseStartFolder;

void Touch(const QString& path) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

class StartFolderTest : public ::testing::Test {
 protected:
  QString Path(const QString& relative) const { return root_.filePath(relative); }
  void SetUp() override {
    ASSERT_TRUE(root_.isValid());
    QDir(root_.path()).mkpath("start");
    QDir(root_.path()).mkpath("data");
    Touch(Path("shipped/Setup.KVS"));
  }

  QTemporaryDir root_;
};

TEST_F(StartFolderTest, StartingFolderScriptComesFirst) {
  Touch(Path("start/Setup.KVS"));
  Touch(Path("data/Setup.KVS"));
  auto start = ChooseStartFolder(Path("start"), true, Path("data"), Path("shipped/Setup.KVS"),
                                 false);
  EXPECT_EQ(start.working_dir, Path("start"));
  EXPECT_EQ(start.script, "Setup.KVS");
  EXPECT_TRUE(start.link_logs.isEmpty());

  // Unwritable: the work moves to the data folder, the script stays the one
  // the program was started beside.
  start = ChooseStartFolder(Path("start"), false, Path("data"), Path("shipped/Setup.KVS"), false);
  EXPECT_EQ(start.working_dir, Path("data"));
  EXPECT_EQ(start.script, Path("start/Setup.KVS"));
}

TEST_F(StartFolderTest, UsersOwnScriptBeforeTheShippedOne) {
  Touch(Path("data/Setup.KVS"));
  for (bool writable : {true, false}) {
    const auto start =
        ChooseStartFolder(Path("start"), writable, Path("data"), Path("shipped/Setup.KVS"), false);
    EXPECT_EQ(start.working_dir, writable ? Path("start") : Path("data"));
    EXPECT_EQ(start.script, Path("data/Setup.KVS"));
  }
}

TEST_F(StartFolderTest, ShippedScriptWhenNoneOfTheUsers) {
  auto start =
      ChooseStartFolder(Path("start"), false, Path("data"), Path("shipped/Setup.KVS"), true);
  EXPECT_EQ(start.working_dir, Path("data"));
  EXPECT_EQ(start.script, Path("shipped/Setup.KVS"));
  EXPECT_EQ(start.link_logs, Path("data"));  // installed: never beside the program

  // Nothing shipped either: the bare name, which runs empty pages.
  start = ChooseStartFolder(Path("start"), true, Path("data"), QString(), false);
  EXPECT_EQ(start.working_dir, Path("start"));
  EXPECT_EQ(start.script, "Setup.KVS");

  // Without a data folder the program stays where it is.
  start = ChooseStartFolder(Path("start"), false, QString(), Path("shipped/Setup.KVS"), true);
  EXPECT_EQ(start.working_dir, Path("start"));
  EXPECT_TRUE(start.link_logs.isEmpty());
}

TEST_F(StartFolderTest, ShippedScriptOfAnInstalledProgramOrTheSourceTree) {
  QDir(root_.path()).mkpath("prefix/bin");
  const QString source = Path("shipped/Setup.KVS");
  EXPECT_EQ(zelt::ShippedScript(Path("prefix/bin"), source), source);
  EXPECT_FALSE(zelt::RunsInstalled(Path("prefix/bin")));
  EXPECT_EQ(zelt::ShippedScript(Path("prefix/bin"), Path("missing/Setup.KVS")), QString());

  Touch(Path("prefix/share/zelt/Setup.KVS"));
  EXPECT_EQ(zelt::ShippedScript(Path("prefix/bin"), source), Path("prefix/share/zelt/Setup.KVS"));
  EXPECT_TRUE(zelt::RunsInstalled(Path("prefix/bin")));
}

TEST_F(StartFolderTest, ShippedScriptBesideTheProgramAsTheWindowsInstallerPutsIt) {
  QDir(root_.path()).mkpath("zelt");
  Touch(Path("zelt/Setup.KVS"));
  EXPECT_EQ(zelt::ShippedScript(Path("zelt"), Path("shipped/Setup.KVS")), Path("zelt/Setup.KVS"));
  EXPECT_FALSE(zelt::RunsInstalled(Path("zelt")));  // link logs beside it while it may write
}

TEST_F(StartFolderTest, WritableFolders) {
  EXPECT_TRUE(zelt::CanWriteIn(Path("start")));
  EXPECT_TRUE(QDir(Path("start")).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
      << "the probe is left behind";
  EXPECT_FALSE(zelt::CanWriteIn(Path("missing")));
  if (QFileInfo(QStringLiteral("/proc/self")).exists()) {
    EXPECT_FALSE(zelt::CanWriteIn(QStringLiteral("/proc")));  // even for root
  }
  EXPECT_TRUE(zelt::WorksIn(Path("start")));
#ifndef _WIN32  // HOME names the home folder on Unix; Windows asks the user's profile
  const QByteArray home = qgetenv("HOME");
  qputenv("HOME", Path("start").toLocal8Bit());
  EXPECT_FALSE(zelt::WorksIn(Path("start"))) << "the home folder is where desktops start programs";
  qputenv("HOME", home);
#endif
}

}  // namespace
