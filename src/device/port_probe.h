// Why a port did not open, asked of the system after the link's own attempt
// failed, and what the supervision tried since its last scan.
#pragma once

#include <QList>
#include <QString>

namespace device {

enum class PortState {
  kNotFound,      // a --port name that is not there
  kNoPermission,  // the user may not open it
  kBusy,          // another program holds it
  kNotSerial,     // opens, but takes no serial line settings (/dev/null, a plain file)
  kFailed,        // did not open for another reason
  kOpen,
};

struct PortAttempt {
  QString port;
  PortState state = PortState::kFailed;
  QString detail;  // the system's own words, for kFailed
  QString group;   // the group that may open it, for kNoPermission ("" when unknown)
  bool group_not_yet_active = false;  // the user is listed in it, this session lacks it
};

struct NoDeviceReport {
  QList<PortAttempt> ports;  // in the order tried
  bool ports_given = false;  // --port named them, rather than the platform's scan
  QString script_problem;    // why Setup.KVS gave no pages; "" when it did
};

PortAttempt ProbePort(const QString& port);

}  // namespace device
