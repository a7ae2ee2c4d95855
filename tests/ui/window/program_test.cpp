// The zelt program itself: --screenshot of a page that START builds.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>
#endif

namespace {

// Console output is text: Windows ends its lines with CR LF.
#ifdef _WIN32
const QString kEol = QStringLiteral("\r\n");
#else
const QString kEol = QStringLiteral("\n");
#endif

int RunZelt(const QString& folder, const QStringList& args) {
  QProcess zelt;
  zelt.setWorkingDirectory(folder);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  zelt.setProcessEnvironment(env);
  zelt.start(ZELT_PROGRAM, args);
  if (!zelt.waitForFinished(30000)) {
    zelt.kill();
    zelt.waitForFinished();
    return -1;
  }
  return zelt.exitStatus() == QProcess::NormalExit ? zelt.exitCode() : -1;
}

// A port that opens, so that start-up starts a link, runs START and shows
// its page. Nobody answers on it: a pseudo-terminal on Unix. Windows has no
// such port without hardware, so there the simulated device of --demo stands
// in (START draws the page the same way).
#ifdef _WIN32
class Pty {
 public:
  QString name() const { return QStringLiteral("DEMO"); }
  QStringList args() const { return {QStringLiteral("--demo")}; }
};
#else
class Pty {
 public:
  Pty() : master_(posix_openpt(O_RDWR | O_NOCTTY)) {
    if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0) name_ = ptsname(master_);
  }
  ~Pty() {
    if (master_ >= 0) close(master_);
  }
  QString name() const { return name_; }
  QStringList args() const { return {QStringLiteral("--port"), name_}; }

 private:
  int master_;
  QString name_;
};
#endif

TEST(Program, ScreenshotShowsTheDemoPage) {
  QTemporaryDir dir;
  QFile demo(DEMO_DIR "/Setup.KVS");
  ASSERT_TRUE(demo.open(QIODevice::ReadOnly));
  // START also leaves a mark, to tell a page that is missing from a START that did not run.
  QByteArray script = demo.readAll();
  script.replace(":START\r\n", ":START\r\n65 started.txt WRITEFILE\r\n");
  QFile setup(dir.filePath("Setup.KVS"));
  ASSERT_TRUE(setup.open(QIODevice::WriteOnly));
  setup.write(script);
  setup.close();

  Pty port;
  ASSERT_FALSE(port.name().isEmpty());
  const QString shot = dir.filePath("shot.png");
  ASSERT_EQ(RunZelt(dir.path(), port.args() + QStringList{"--screenshot", shot,
                                                          "--screenshot-delay", "50"}),
            0);
  QImage image(shot);
  ASSERT_FALSE(image.isNull());
  EXPECT_GE(image.width(), 500);
  if (!QFile::exists(dir.filePath("started.txt"))) {
    GTEST_SKIP() << "start-up started no link on " << port.name().toStdString()
                 << ", so START did not run";
  }
  // The level bar START drew is in the picture.
  int blue = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) blue += image.pixel(x, y) == qRgb(0, 0, 255);
  }
  EXPECT_GT(blue, 50);
}

struct Answer {
  int code = -1;
  QString out, err;
};

// Without a display: --help and --version must not need one.
Answer AskZelt(const QStringList& args) {
  QProcess zelt;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove("DISPLAY");
  env.remove("WAYLAND_DISPLAY");
  env.remove("QT_QPA_PLATFORM");
  zelt.setProcessEnvironment(env);
  zelt.start(ZELT_PROGRAM, args);
  Answer answer;
  if (!zelt.waitForFinished(10000)) {
    zelt.kill();
    zelt.waitForFinished();
    return answer;
  }
  answer.code = zelt.exitStatus() == QProcess::NormalExit ? zelt.exitCode() : -1;
  answer.out = QString::fromUtf8(zelt.readAllStandardOutput());
  answer.err = QString::fromUtf8(zelt.readAllStandardError());
  return answer;
}

TEST(Program, HelpAndVersionAnswerAndExit) {
  const Answer help = AskZelt({"--help"});
  EXPECT_EQ(help.code, 0);
  for (const char* option : {"DEBUG", "--demo", "--port NAME", "--screenshot FILE",
                             "--screenshot-delay MS", "--screenshot-pages DIR", "--version"}) {
    EXPECT_TRUE(help.out.contains(QLatin1String(option))) << option << "\n" << help.out.toStdString();
  }
  EXPECT_EQ(AskZelt({"DEBUG", "-h"}).code, 0);
  const Answer version = AskZelt({"--version"});
  EXPECT_EQ(version.code, 0);
  EXPECT_EQ(version.out, "zelt V1.0.0.1" + kEol);
}

TEST(Program, UnknownOptionIsAnErrorWithTheUsageEvenWithoutADisplay) {
  const Answer answer = AskZelt({"DEBUG", "--screenshot-dealy", "5"});
  EXPECT_EQ(answer.code, 2);
  EXPECT_TRUE(answer.err.contains("zelt: unknown option: --screenshot-dealy" + kEol))
      << answer.err.toStdString();
  EXPECT_TRUE(answer.err.contains("Usage: zelt"));
}

TEST(Program, AWordThatIsNoOptionStartsTheWindow) {
  QTemporaryDir dir;
  const QString shot = dir.filePath("shot.png");
  EXPECT_EQ(RunZelt(dir.path(), {"DEBUGX", "--screenshot", shot, "--screenshot-delay", "0"}), 0);
  EXPECT_TRUE(QFile::exists(shot));
}

TEST(Program, UnwritableScreenshotFails) {
  QTemporaryDir dir;
  EXPECT_EQ(RunZelt(dir.path(), {"--screenshot", dir.filePath("no/such/dir/shot.png"),
                                 "--screenshot-delay", "0"}),
            1);
}

}  // namespace
