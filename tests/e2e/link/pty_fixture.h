// Helpers for tests that put a link and the simulated device on one
// pseudo-terminal inside the test process.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <string>
#include <vector>

#include "rs.h"

namespace e2e {

// Runs the event loop until `done` holds or `ms` pass.
inline bool WaitFor(const std::function<bool()>& done, int ms = 5000) {
  return QTest::qWaitFor(done, ms);
}

class RecordingView : public zlink::LinkView {
 public:
  void AddLinkMemoLine(const std::string& line) override { memo.push_back(line); }
  void ReportState(zlink::LinkState state) override { label = zlink::ConnectionText(state); }
  std::vector<std::string> memo;
  std::string label = "initial";
};

// The lines of the link log files in `folder` (CR LF removed, stamps kept).
inline std::vector<std::string> LogLines(const QString& folder) {
  std::vector<std::string> lines;
  QDir dir(folder);
  for (const QString& name : dir.entryList({QStringLiteral("*Log.Txt")}, QDir::Files, QDir::Name)) {
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::ReadOnly)) continue;
    for (const QByteArray& line : file.readAll().split('\n'))
      if (!line.isEmpty()) lines.push_back(line.chopped(line.endsWith('\r') ? 1 : 0).toStdString());
  }
  return lines;
}

// The text of a log line without its " dd.mm.yy-hh:nn:ss" stamp.
inline std::string WithoutStamp(const std::string& line) {
  return line.size() > 18 ? line.substr(0, line.size() - 18) : line;
}

}  // namespace e2e
