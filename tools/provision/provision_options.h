// The command line of zelt-provision.
#pragma once

#include <QString>
#include <QStringList>

#include "bench.h"

namespace provision {

struct CommandLine {
  BenchOptions bench;
  QString report;      // the CSV report; empty for none
  bool job = false;    // the hidden per-port mode: bench.job for one port
  bool help = false;
};

// False, with the reason, for bad usage. Paths are made absolute: jobs work
// in folders of their own.
bool ParseCommandLine(const QStringList& arguments, CommandLine& out, QString& error);

extern const char kUsage[];

}  // namespace provision
