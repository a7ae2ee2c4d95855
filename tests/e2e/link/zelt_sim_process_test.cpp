// zelt-sim as its own process, driven through its control lines.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "link_texts.h"
#include "pty_fixture.h"
#include "rs.h"

namespace {

using namespace std::string_literals;

class SimProcess {
 public:
  explicit SimProcess(const QStringList& args) {
    process_.start(QStringLiteral(ZELT_SIM_PATH), args);
  }
  ~SimProcess() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished(3000);
    }
  }
  // The next line of standard output.
  QString ReadLine(int ms = 5000) {
    e2e::WaitFor([&] { return process_.canReadLine(); }, ms);
    return QString::fromLocal8Bit(process_.readLine()).trimmed();
  }
  void Say(const QString& line) { process_.write((line + QLatin1Char('\n')).toLocal8Bit()); }
  QProcess& process() { return process_; }

 private:
  QProcess process_;
};

TEST(ZeltSimProcess, ServesALinkThroughItsSymlinkAndObeysControlLines) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  zlink::SetLinkLogFolder(dir.path());
  const QString link_path = dir.filePath(QStringLiteral("zelt-port"));
  SimProcess sim({QStringLiteral("--link"), link_path, QStringLiteral("--poll-ms"), QStringLiteral("20")});
  const QString pty_path = sim.ReadLine();
  ASSERT_TRUE(pty_path.startsWith(QStringLiteral("/dev/"))) << pty_path.toStdString();
  EXPECT_EQ(QFileInfo(link_path).symLinkTarget(), pty_path);

  e2e::RecordingView view;
  std::vector<std::string> records;
  zlink::RSThread* link = zlink::RSThread::StartLink(link_path, &view);
  link->OnRecord = [&](zlink::RSThread&, int, const std::string& record) { records.push_back(record); };
  ASSERT_TRUE(e2e::WaitFor([&] { return view.label == zlink::kConnected; }));

  sim.Say(QStringLiteral("send 03 AC 03 07"));
  EXPECT_EQ(sim.ReadLine(), QStringLiteral("queued 03 AC 03 07"));
  ASSERT_TRUE(e2e::WaitFor([&] { return !records.empty(); }));
  EXPECT_EQ(records[0], "\x02\x03\xAC\x03\x07"s);

  link->SendQueue() += "03 02 AD 03 ";
  ASSERT_TRUE(e2e::WaitFor([&] { return link->SendQueue().empty(); }));
  QTest::qWait(100);
  sim.Say(QStringLiteral("stats"));
  const QString stats = sim.ReadLine();
  // The command reached the device once; every data frame was acknowledged
  // the first time (the device may answer the command with a record).
  EXPECT_TRUE(stats.contains(QStringLiteral("commands 1 "))) << stats.toStdString();
  EXPECT_TRUE(stats.contains(QStringLiteral("resends 0 "))) << stats.toStdString();
  EXPECT_TRUE(stats.contains(QStringLiteral("repeats 0 "))) << stats.toStdString();

  sim.Say(QStringLiteral("send 05 AC"));
  EXPECT_TRUE(sim.ReadLine().startsWith(QStringLiteral("error:")));

  sim.Say(QStringLiteral("unplug"));
  EXPECT_EQ(sim.ReadLine(), QStringLiteral("unplugged"));
  ASSERT_TRUE(e2e::WaitFor([&] { return !link->Driver()->Connected(); }, 3000));
  EXPECT_FALSE(QFileInfo::exists(link_path));
  zlink::RSThread::StopLink(link);

  sim.Say(QStringLiteral("plug"));
  const QString plugged = sim.ReadLine();
  ASSERT_TRUE(plugged.startsWith(QStringLiteral("plugged /dev/"))) << plugged.toStdString();
  EXPECT_TRUE(QFileInfo::exists(link_path));
  link = zlink::RSThread::StartLink(link_path, &view);
  view.label.clear();
  ASSERT_TRUE(e2e::WaitFor([&] { return view.label == zlink::kConnected; }));
  zlink::RSThread::StopLink(link);

  sim.Say(QStringLiteral("quit"));
  ASSERT_TRUE(sim.process().waitForFinished(3000));
  EXPECT_EQ(sim.process().exitCode(), 0);
  EXPECT_FALSE(QFileInfo::exists(link_path));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  zlink::SetLinkLogFolder(QString());
}

}  // namespace
