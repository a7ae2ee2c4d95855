#include "provision_options.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace provision {

const char kUsage[] =
    "Usage: zelt-provision [OPTION]... PROFILE\n"
    "       zelt-provision [OPTION]... --read-only DIR\n"
    "Writes the profile PROFILE (a file saved on the Profiles page of zelt) into\n"
    "every ZELT-2 GSM device found, all at once, each on its own port: waits for\n"
    "the device, reads it whole and backs it up, writes the settings, phone book\n"
    "and script, reads them back and compares. One line per device says how it goes.\n"
    "\n"
    "  --ports auto|LIST  the USB serial ports (auto, the default) or the ports in\n"
    "                     the comma-separated LIST\n"
    "  --timeout S        seconds to wait for a device's first answer (default 15)\n"
    "  --backup DIR       where each device's backup goes, named by serial number\n"
    "                     and time (default backup)\n"
    "  --report FILE.csv  a report: port, serial number, firmware, start, duration,\n"
    "                     result, differing addresses, backup file\n"
    "  --verify-only      compare the devices with PROFILE, write nothing\n"
    "  --read-only DIR    only back up every device into DIR\n"
    "  --watch            keep going: every device plugged in is provisioned, once\n"
    "                     per serial number, until Ctrl+C\n"
    "  --script FILE      the Setup.KVS whose definitions read and write (default:\n"
    "                     Setup.KVS here, else the one installed with zelt)\n"
    "  --help             print this help and quit\n"
    "\n"
    "Exit status: 0 every device verified (backed up with --read-only), 1 any\n"
    "failed or none was found, 2 bad usage or a profile that cannot be written.\n";

namespace {

QString Absolute(const QString& path) { return QFileInfo(path).absoluteFilePath(); }

}  // namespace

bool ParseCommandLine(const QStringList& arguments, CommandLine& out, QString& error) {
  QCommandLineParser parser;
  const QCommandLineOption help(QStringLiteral("help"));
  const QCommandLineOption ports(QStringLiteral("ports"), {}, QStringLiteral("LIST"));
  const QCommandLineOption timeout(QStringLiteral("timeout"), {}, QStringLiteral("S"));
  const QCommandLineOption backup(QStringLiteral("backup"), {}, QStringLiteral("DIR"));
  const QCommandLineOption report(QStringLiteral("report"), {}, QStringLiteral("FILE"));
  const QCommandLineOption verify_only(QStringLiteral("verify-only"));
  const QCommandLineOption read_only(QStringLiteral("read-only"), {}, QStringLiteral("DIR"));
  const QCommandLineOption watch(QStringLiteral("watch"));
  const QCommandLineOption script(QStringLiteral("script"), {}, QStringLiteral("FILE"));
  const QCommandLineOption job(QStringLiteral("job"), {}, QStringLiteral("PORT"));
  const QCommandLineOption done(QStringLiteral("done"), {}, QStringLiteral("LIST"));
  const QCommandLineOption lines(QStringLiteral("lines"), {}, QStringLiteral("FILE"));
  parser.addOptions({help, ports, timeout, backup, report, verify_only, read_only, watch, script,
                     job, done, lines});
  if (!parser.parse(arguments)) {
    error = parser.errorText();
    return false;
  }
  out.help = parser.isSet(help);
  if (out.help) return true;

  JobOptions& j = out.bench.job;
  const QStringList positional = parser.positionalArguments();
  if (parser.isSet(read_only)) {
    if (parser.isSet(verify_only) || parser.isSet(backup)) {
      error = QStringLiteral("--read-only goes without --verify-only and --backup");
      return false;
    }
    if (!positional.isEmpty()) {
      error = QStringLiteral("--read-only takes no PROFILE");
      return false;
    }
    j.mode = JobMode::kReadOnly;
    j.backup_dir = Absolute(parser.value(read_only));
  } else {
    if (positional.size() != 1) {
      error = QStringLiteral("one PROFILE is needed");
      return false;
    }
    j.profile = Absolute(positional[0]);
    j.mode = parser.isSet(verify_only) ? JobMode::kVerifyOnly : JobMode::kProvision;
    j.backup_dir = Absolute(parser.isSet(backup) ? parser.value(backup) : QStringLiteral("backup"));
  }
  if (parser.isSet(timeout)) {
    bool ok = false;
    j.timeout_s = parser.value(timeout).toInt(&ok);
    if (!ok || j.timeout_s <= 0) {
      error = QStringLiteral("--timeout takes a number of seconds above 0");
      return false;
    }
  }
  const QString port_list = parser.value(ports);
  if (!port_list.isEmpty() && port_list != QLatin1String("auto"))
    out.bench.ports = port_list.split(QLatin1Char(','), Qt::SkipEmptyParts);
  if (parser.isSet(ports) && port_list.isEmpty()) {
    error = QStringLiteral("--ports takes auto or a list of ports");
    return false;
  }
  out.bench.watch = parser.isSet(watch);
  if (parser.isSet(report)) out.report = parser.value(report);
  if (parser.isSet(script)) j.script = Absolute(parser.value(script));
  out.job = parser.isSet(job);
  if (out.job) {
    j.port = parser.value(job);
    j.done_serials = parser.value(done).split(QLatin1Char(','), Qt::SkipEmptyParts);
    j.lines_file = parser.value(lines);
  }
  return true;
}

}  // namespace provision
