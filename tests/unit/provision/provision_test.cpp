#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <sstream>

#include "bench.h"
#include "bench_output.h"
#include "device_job.h"
#include "device_state.h"
#include "profile_check.h"
#include "provision_options.h"

// gtest shows Qt's texts as text.
void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace provision {
namespace {

TEST(ProvisionJobLines, EveryKindReachesTheState) {
  DeviceState state;
  for (const QStringList& fields :
       {QStringList{"stage", "writing", "50"}, QStringList{"serial", "A\t1"},
        QStringList{"firmware", "1.00"}, QStringList{"backup", "/b/A_1.ini"},
        QStringList{"diff", "настройки: 1405h"}, QStringList{"result", "failed", "port\nlost"}})
    EXPECT_TRUE(ApplyJobLine(state, QString::fromStdString(JobLine(fields)).chopped(1)));
  EXPECT_EQ(state.stage, "writing");
  EXPECT_EQ(state.percent, 50);
  EXPECT_EQ(state.serial, "A 1");
  EXPECT_EQ(state.diff, "настройки: 1405h");
  EXPECT_EQ(state.outcome, Outcome::kFailed);
  EXPECT_EQ(state.reason, "port lost");
  // Stray output of a job changes nothing.
  for (const char* stray : {"", "result\trunning\t", "result\tdone\t", "serial", "kvs: x"})
    EXPECT_FALSE(ApplyJobLine(state, stray)) << stray;
  EXPECT_EQ(state.outcome, Outcome::kFailed);
}

TEST(ProvisionReport, FieldsAreQuotedWhereCsvNeedsIt) {
  EXPECT_EQ(CsvField("A0000001"), "A0000001");
  EXPECT_EQ(CsvField("1405h, 1406h"), "\"1405h, 1406h\"");
  EXPECT_EQ(CsvField("say \"x\""), "\"say \"\"x\"\"\"");
  EXPECT_EQ(CsvField(" x"), "\" x\"");
  EXPECT_EQ(CsvField("a\nb"), "\"a\nb\"");

  QTemporaryDir dir;
  DeviceState device;
  device.port = "/dev/ttyUSB0";
  device.outcome = Outcome::kFailed;
  device.reason = "no answer within 15 s";
  device.duration_ms = 15240;
  const QString path = dir.filePath("report.csv");
  ASSERT_TRUE(WriteReport(path, {device}));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll().toStdString(),
            "port,serial number,firmware,start,duration s,result,differing addresses,backup "
            "file\r\n/dev/ttyUSB0,,,,15.2,failed: no answer within 15 s,,\r\n");
  EXPECT_FALSE(WriteReport(dir.filePath("missing/report.csv"), {device}));
}

TEST(ProvisionView, ATerminalRedrawsInPlaceElsewhereOnlyChangesArePrinted) {
  std::vector<DeviceState> devices(2);
  devices[0].port = "/dev/ttyUSB0";
  devices[1].port = "/dev/ttyUSB1";
  std::ostringstream terminal, plain;
  LiveView on_terminal(terminal, true), elsewhere(plain, false);
  on_terminal.Show(devices);
  elsewhere.Show(devices);
  devices[1].serial = "A1";
  devices[1].outcome = Outcome::kVerified;
  on_terminal.Show(devices);
  elsewhere.Show(devices);
  EXPECT_EQ(terminal.str(),
            "\r\x1b[KttyUSB0  -  starting 0%\n\r\x1b[KttyUSB1  -  starting 0%\n"
            "\x1b[2A\r\x1b[KttyUSB0  -  starting 0%\n\r\x1b[KttyUSB1  A1  verified\n");
  EXPECT_EQ(plain.str(), "ttyUSB0  -  starting 0%\nttyUSB1  -  starting 0%\nttyUSB1  A1  verified\n");
}

TEST(ProvisionCommandLine, BadUsageIsRefused) {
  const QStringList bad[] = {
      {"p"},
      {"p", "a.ini", "b.ini"},
      {"p", "--read-only", "d", "a.ini"},
      {"p", "--read-only", "d", "--verify-only"},
      {"p", "--timeout", "0", "a.ini"},
      {"p", "--ports", "", "a.ini"},
      {"p", "--colour", "a.ini"},
  };
  for (const QStringList& arguments : bad) {
    CommandLine command;
    QString error;
    EXPECT_FALSE(ParseCommandLine(arguments, command, error)) << arguments.join(' ').toStdString();
    EXPECT_FALSE(error.isEmpty());
  }
  CommandLine command;
  QString error;
  ASSERT_TRUE(ParseCommandLine({"p", "--ports", "/dev/a,/dev/b", "--verify-only", "a.ini"},
                               command, error));
  EXPECT_EQ(command.bench.ports, QStringList({"/dev/a", "/dev/b"}));
  EXPECT_EQ(command.bench.job.mode, JobMode::kVerifyOnly);
  EXPECT_EQ(command.bench.job.timeout_s, 15);
  EXPECT_EQ(command.bench.job.profile, QDir::current().absoluteFilePath("a.ini"));
  EXPECT_EQ(command.bench.job.backup_dir, QDir::current().absoluteFilePath("backup"));
  // What the bench gives a job is what the job reads.
  command.bench.job.port = "/dev/a";
  command.bench.job.script = "/s/Setup.KVS";
  command.bench.job.done_serials = {"A1", "A2"};
  command.bench.job.lines_file = "/w/job.lines";
  CommandLine job;
  ASSERT_TRUE(ParseCommandLine(QStringList{"p"} + JobArguments(command.bench.job), job, error));
  EXPECT_TRUE(job.job);
  EXPECT_EQ(job.bench.job.port, "/dev/a");
  EXPECT_EQ(job.bench.job.mode, JobMode::kVerifyOnly);
  EXPECT_EQ(job.bench.job.done_serials, QStringList({"A1", "A2"}));
  EXPECT_EQ(job.bench.job.lines_file, "/w/job.lines");
  EXPECT_EQ(job.bench.job.profile, command.bench.job.profile);
}

TEST(ProvisionBackup, NamedBySerialNumberAndTimeNeverTwice) {
  QTemporaryDir dir;
  const QDateTime when(QDate(2026, 12, 8), QTime(13, 5, 9));
  const QString first = BackupPath(dir.path(), "A/01 ..", when);
  EXPECT_EQ(QFileInfo(first).fileName(), "A_01___-20261208-130509.ini");
  EXPECT_EQ(QFileInfo(BackupPath(dir.path(), "A/01 ..", when)).fileName(),
            "A_01___-20261208-130509-2.ini");
  EXPECT_EQ(QFileInfo(BackupPath(dir.path(), "", when)).fileName(), "unknown-20261208-130509.ini");
}

// The profile as the shipped definitions load it.
TEST(ProvisionProfile, ValuesTheDeviceCannotTakeAreNamedWithTheirLine) {
  QTemporaryDir dir;
  auto check = [&](const QByteArray& text) {
    QFile file(dir.filePath("p.ini"));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    return CheckProfile(file.fileName(), ZELT_SHIPPED_SCRIPT, dir.path());
  };
  const QString named = dir.filePath("p.ini");
  EXPECT_EQ(check("[Settings]\r\nS0=1\r\nS7=200\r\n[Phones]\r\nCount=1\r\nPhone1=112\r\n"),
            QStringList());
  EXPECT_EQ(check("[Settings]\nS0=1\nS1=9\n[Phones]\nCount=1\nPhone1=12a\n"),
            QStringList({named + ":3: S1=9: the device cannot take this value",
                         named + ":6: Phone1=12a: the device cannot take this value"}));
  EXPECT_EQ(check("[Other]\nS0=1\n"),
            QStringList({named + ": holds no device settings (no S0 in [Settings]): not a profile"}));
  EXPECT_EQ(CheckProfile(dir.filePath("none.ini"), ZELT_SHIPPED_SCRIPT, dir.path()),
            QStringList({dir.filePath("none.ini") + ": cannot be read"}));
}

TEST(ProvisionBench, APortNamedButNotThereCountsAsAFailedDevice) {
  QTemporaryDir dir;
  BenchOptions options;
  options.ports = {dir.filePath("ttyUSB7"), dir.filePath("ttyUSB7")};
  Bench bench(options, [] {});
  bench.Start();
  ASSERT_EQ(bench.devices().size(), 1u);
  EXPECT_EQ(bench.devices()[0].port, dir.filePath("ttyUSB7"));
  EXPECT_EQ(bench.devices()[0].outcome, Outcome::kFailed);
  EXPECT_EQ(bench.devices()[0].reason, "port not found");
  EXPECT_TRUE(bench.Done());
}

}  // namespace
}  // namespace provision

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
