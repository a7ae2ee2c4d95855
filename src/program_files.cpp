#include "program_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <cstdio>

#include "rs.h"

namespace zelt {
namespace {

const QString kScriptName = QStringLiteral("Setup.KVS");

QString InstalledScript(const QString& program_dir) {
  return QDir(program_dir).absoluteFilePath(QStringLiteral("../share/zelt/Setup.KVS"));
}

bool IsFile(const QString& path) { return !path.isEmpty() && QFileInfo(path).isFile(); }

}  // namespace

QString ShippedScript(const QString& program_dir, const QString& source_tree_script) {
  const QString installed = InstalledScript(program_dir);
  if (IsFile(installed)) return QDir::cleanPath(installed);
  // The Windows installer and the portable zip keep it beside zelt.exe.
  const QString beside = QDir(program_dir).filePath(kScriptName);
  if (IsFile(beside)) return beside;
  if (IsFile(source_tree_script)) return QFileInfo(source_tree_script).absoluteFilePath();
  return QString();
}

bool RunsInstalled(const QString& program_dir) { return IsFile(InstalledScript(program_dir)); }

// A writable folder is one a file can really be created in: the permission
// bits do not tell a read-only mount, nor a folder such as /proc for root.
bool CanWriteIn(const QString& folder) {
  const QFileInfo info(folder);
  if (!info.isDir() || !info.isWritable()) return false;
  QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".zelt-XXXXXX")));
  return probe.open();
}

bool WorksIn(const QString& folder) {
  return CanWriteIn(folder) &&
         QFileInfo(folder).canonicalFilePath() != QFileInfo(QDir::homePath()).canonicalFilePath();
}

StartFolder ChooseStartFolder(const QString& current_dir, bool stay,
                              const QString& data_dir, const QString& shipped_script,
                              bool installed) {
  StartFolder start;
  start.working_dir = current_dir;
  start.script = kScriptName;
  if (installed && !data_dir.isEmpty()) start.link_logs = data_dir;
  const QString own = QDir(current_dir).filePath(kScriptName);
  const bool moved = !data_dir.isEmpty() && !stay;
  if (moved) start.working_dir = data_dir;
  const QString users = QDir(data_dir).filePath(kScriptName);
  if (IsFile(own)) {
    if (moved) start.script = own;
  } else if (!data_dir.isEmpty() && IsFile(users)) {
    start.script = users;
  } else if (!shipped_script.isEmpty()) {
    start.script = shipped_script;
  }
  return start;
}

StartFolder EnterStartFolder(const QString& source_tree_script) {
  const QString program_dir = QCoreApplication::applicationDirPath();
  // %LOCALAPPDATA%\zelt on Windows (not the roaming profile), ~/.local/share/zelt elsewhere.
  const QString data_dir = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
  const QString current_dir = QDir::currentPath();
  StartFolder start = ChooseStartFolder(current_dir, WorksIn(current_dir), data_dir,
                                        ShippedScript(program_dir, source_tree_script),
                                        RunsInstalled(program_dir));
  if (!start.link_logs.isEmpty() || start.working_dir != QDir::currentPath()) {
    if (!QDir().mkpath(data_dir)) {
      std::fprintf(stderr, "zelt: cannot create %s\n", qPrintable(data_dir));
      start.link_logs.clear();
    }
  }
  if (start.working_dir != QDir::currentPath() && !QDir::setCurrent(start.working_dir)) {
    std::fprintf(stderr, "zelt: cannot work in %s\n", qPrintable(start.working_dir));
    start.working_dir = QDir::currentPath();
  }
  if (!start.link_logs.isEmpty()) zlink::SetLinkLogFolder(start.link_logs);
  return start;
}

}  // namespace zelt
